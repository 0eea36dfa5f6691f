#include "mainwindow/opendialog.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace ovelo {

QFileDialog* CreateOpenDialog(QWidget* parent) {
    auto* dialog =
        new QFileDialog(parent, QCoreApplication::translate("ovelo::OpenDialog", "打开Flv文件"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Each name already shows its patterns; Qt would add them a second time.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    // The patterns are Qt's to read: they stay outside the names a translation may change.
    dialog->setNameFilters(
        {QCoreApplication::translate("ovelo::OpenDialog", "所有Flash Video视频文件(*.flv;*.f4v)") +
             QLatin1String(" (*.f4v *.flv)"),
         QCoreApplication::translate("ovelo::OpenDialog", "普通Flash Video文件(*.flv)") +
             QLatin1String(" (*.flv)"),
         QCoreApplication::translate("ovelo::OpenDialog", "高清Flash Video文件(*.f4v)") +
             QLatin1String(" (*.f4v)"),
         QCoreApplication::translate("ovelo::OpenDialog", "所有文件(*.*)") +
             QLatin1String(" (*)")});
    return dialog;
}

} // namespace ovelo
