#include "windows/skinmanager.h"

#include "layout/design.h"
#include "platform/programfolder.h"
#include "settings/config.h"
#include "skins/skinengine.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcSkinManager, "ovelo.skinmanager", QtWarningMsg)

namespace ovelo {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QPushButton(caption, parent), name);
}

} // namespace

SkinManager::SkinManager()
    : Form("Form4", QStringLiteral("皮肤管理器"), 5730, 3540), file1_(new QListWidget(this)),
      command1_(Button(this, "Command1", QStringLiteral("应用"))),
      mnufile_(new QMenu(QStringLiteral("文件"), this)) {
    file1_->setObjectName("File1");
    file1_->viewport()->installEventFilter(this);
    connect(file1_, &QListWidget::itemDoubleClicked, this, &SkinManager::Apply);
    auto* add = Button(this, "Command3", QStringLiteral("添加"));
    connect(add, &QPushButton::clicked, this, &SkinManager::Command3Click);
    command1_->setEnabled(false);
    connect(command1_, &QPushButton::clicked, this, &SkinManager::Apply);
    auto* quit = Button(this, "Command2", QStringLiteral("退出"));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    mnufile_->setObjectName("mnufile");
    QAction* mnuyy = mnufile_->addAction(QStringLiteral("应用"));
    mnuyy->setObjectName("mnuyy");
    connect(mnuyy, &QAction::triggered, this, &SkinManager::Apply);
    PlaceAndRecord(this, {{"File1", 0, 0, 5775, 2640},
                          {"Command3", 120, 3000, 1095, 375},
                          {"Command1", 2520, 3000, 1455, 375},
                          {"Command2", 4080, 3000, 1455, 375}});
    makeFixedSingle();
    // SetTopMostWindow: above the player, which the user is skinning.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    File1Refresh();
}

QString SkinManager::SkinFolder() {
    return NativePath(ProgramFolder(), QStringLiteral("Skin"));
}

void SkinManager::File1Refresh() {
    const QString current = file1_->currentItem() ? file1_->currentItem()->text() : QString();
    file1_->clear();
    const QStringList names =
        QDir(SkinFolder())
            .entryList({QStringLiteral("*.skn")}, QDir::Files | QDir::Readable,
                       QDir::Name | QDir::IgnoreCase);
    file1_->addItems(names);
    const auto kept = file1_->findItems(current, Qt::MatchExactly);
    if (!kept.isEmpty())
        file1_->setCurrentItem(kept.first());
}

bool SkinManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == file1_->viewport() && event->type() == QEvent::MouseButtonPress) {
        command1_->setEnabled(true);
        auto* press = static_cast<QMouseEvent*>(event);
        // Not modal: the list still takes the press and selects the line under it.
        if (press->button() == Qt::RightButton)
            mnufile_->popup(press->globalPosition().toPoint());
    }
    return Form::eventFilter(watched, event);
}

void SkinManager::focusInEvent(QFocusEvent* event) {
    command1_->setEnabled(false);
    Form::focusInEvent(event);
}

void SkinManager::Apply() {
    // Nothing chosen: there is no skin to apply, and recording "Skin\" would lose the one in use.
    const QListWidgetItem* item = file1_->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString name = item->text();
    SkinH_AttachEx(QDir(SkinFolder()).filePath(name), QString());
    WriteSetting(ini::SkinUrl, QStringLiteral("Skin\\") + name);
}

void SkinManager::Command3Click() {
    if (chooseFile_) {
        AddSkinFile(chooseFile_(this));
        return;
    }
    auto* dialog = new QFileDialog(this, QString(), QString(), QStringLiteral("皮肤文件 (*.skn)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Only an accepted dialog names a file; a cancelled one adds nothing.
    connect(dialog, &QFileDialog::fileSelected, this, &SkinManager::AddSkinFile);
    dialog->open();
}

void SkinManager::AddSkinFile(const QString& chosen) {
    if (chosen.isEmpty())
        return;
    const QString target = QDir(SkinFolder()).filePath(QFileInfo(chosen).fileName());
    if (!CopyFileReplacing(chosen, target)) {
        qCInfo(lcSkinManager) << "cannot add" << chosen << "as" << target;
        return;
    }
    File1Refresh();
    auto* box = new QMessageBox(QMessageBox::Information, QGuiApplication::applicationDisplayName(),
                                QString::fromUtf8(kAddedText), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace ovelo
