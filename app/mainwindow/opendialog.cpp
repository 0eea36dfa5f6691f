#include "mainwindow/opendialog.h"

#include <QFileDialog>

namespace ovelo {

QFileDialog* CreateOpenDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("打开Flv文件"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Each name already shows its patterns; Qt would add them a second time.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters({QStringLiteral("所有Flash Video视频文件(*.flv;*.f4v) (*.f4v *.flv)"),
                            QStringLiteral("普通Flash Video文件(*.flv) (*.flv)"),
                            QStringLiteral("高清Flash Video文件(*.f4v) (*.f4v)"),
                            QStringLiteral("所有文件(*.*) (*)")});
    return dialog;
}

} // namespace ovelo
