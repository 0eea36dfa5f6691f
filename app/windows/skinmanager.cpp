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
    : Form("Form4", tr("皮肤管理器"), 5730, 3540), skinList_(new QListWidget(this)),
      applyButton_(Button(this, "Command1", tr("应用"))), fileMenu_(new QMenu(tr("文件"), this)) {
    skinList_->setObjectName("File1");
    skinList_->viewport()->installEventFilter(this);
    connect(skinList_, &QListWidget::itemDoubleClicked, this, &SkinManager::applySelected);
    auto* add = Button(this, "Command3", tr("添加"));
    connect(add, &QPushButton::clicked, this, &SkinManager::chooseSkinFile);
    applyButton_->setEnabled(false);
    connect(applyButton_, &QPushButton::clicked, this, &SkinManager::applySelected);
    auto* quit = Button(this, "Command2", tr("退出"));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    fileMenu_->setObjectName("mnufile");
    QAction* applyItem = fileMenu_->addAction(tr("应用"));
    applyItem->setObjectName("mnuyy");
    connect(applyItem, &QAction::triggered, this, &SkinManager::applySelected);
    PlaceAndRecord(this, {{"File1", 0, 0, 5775, 2640},
                          {"Command3", 120, 3000, 1095, 375},
                          {"Command1", 2520, 3000, 1455, 375},
                          {"Command2", 4080, 3000, 1455, 375}});
    makeFixedSingle();
    // SetTopMostWindow: above the player, which the user is skinning.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    refreshList();
}

QString SkinManager::SkinFolder() {
    return NativePath(ProgramFolder(), QStringLiteral("Skin"));
}

void SkinManager::refreshList() {
    const QString current = skinList_->currentItem() ? skinList_->currentItem()->text() : QString();
    skinList_->clear();
    const QStringList names =
        QDir(SkinFolder())
            .entryList({QStringLiteral("*.skn")}, QDir::Files | QDir::Readable,
                       QDir::Name | QDir::IgnoreCase);
    skinList_->addItems(names);
    const auto kept = skinList_->findItems(current, Qt::MatchExactly);
    if (!kept.isEmpty())
        skinList_->setCurrentItem(kept.first());
}

bool SkinManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == skinList_->viewport() && event->type() == QEvent::MouseButtonPress) {
        applyButton_->setEnabled(true);
        auto* press = static_cast<QMouseEvent*>(event);
        // Not modal: the list still takes the press and selects the line under it.
        if (press->button() == Qt::RightButton)
            fileMenu_->popup(press->globalPosition().toPoint());
    }
    return Form::eventFilter(watched, event);
}

void SkinManager::focusInEvent(QFocusEvent* event) {
    applyButton_->setEnabled(false);
    Form::focusInEvent(event);
}

void SkinManager::applySelected() {
    // Nothing chosen: there is no skin to apply, and recording "Skin\" would lose the one in use.
    const QListWidgetItem* item = skinList_->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString name = item->text();
    SkinH_AttachEx(QDir(SkinFolder()).filePath(name), QString());
    WriteSetting(ini::SkinUrl, QStringLiteral("Skin\\") + name);
}

void SkinManager::chooseSkinFile() {
    if (chooseFile_) {
        addSkinFile(chooseFile_(this));
        return;
    }
    auto* dialog =
        new QFileDialog(this, QString(), QString(), tr("皮肤文件") + QLatin1String(" (*.skn)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Only an accepted dialog names a file; a cancelled one adds nothing.
    connect(dialog, &QFileDialog::fileSelected, this, &SkinManager::addSkinFile);
    dialog->open();
}

void SkinManager::addSkinFile(const QString& chosen) {
    if (chosen.isEmpty())
        return;
    const QString target = QDir(SkinFolder()).filePath(QFileInfo(chosen).fileName());
    if (!CopyFileReplacing(chosen, target)) {
        qCInfo(lcSkinManager) << "cannot add" << chosen << "as" << target;
        return;
    }
    refreshList();
    auto* box = new QMessageBox(QMessageBox::Information, QGuiApplication::applicationDisplayName(),
                                tr(kAddedText), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace ovelo
