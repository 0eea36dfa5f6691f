#include "windows/settingsdialog.h"

#include "layout/design.h"
#include "settings/config.h"
#include "windows/mainaccess.h"

#include "flv/velmora.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <utility>

namespace ovelo {

namespace {

// The volume page's controls follow its frame ten times a second; the shortcut keys' boxes
// follow their switch once a second.
std::chrono::milliseconds pageFollow{100};
std::chrono::milliseconds switchFollow{1000};

// A shortcut choice: the combo box, its key in Config.ini and its two items with their codes.
// Loading shows `loadText` when the stored code is `loadCode`, the other item otherwise; writing
// stores the first item's code only for exactly the first item's text. The items are shown in the
// program's language and the codes are the same in every one: a Config.ini written under one
// reads the same under another.
struct KeyChoice {
    const char* combo;
    IniEntry entry;
    const char* first;
    const char* firstCode;
    const char* second;
    const char* secondCode;
    const char* loadCode;
    const char* loadText;
};

// The keys' names, shown in the desktop's language.
constexpr const char* kSpaceKey = QT_TRANSLATE_NOOP("ovelo::SettingsDialog", "空格键");
constexpr const char* kPKey = QT_TRANSLATE_NOOP("ovelo::SettingsDialog", "P键");
constexpr const char* kSKey = QT_TRANSLATE_NOOP("ovelo::SettingsDialog", "S键");
constexpr const char* kTKey = QT_TRANSLATE_NOOP("ovelo::SettingsDialog", "T键");
constexpr const char* kLKey = QT_TRANSLATE_NOOP("ovelo::SettingsDialog", "L键");
constexpr const char* kBKey = QT_TRANSLATE_NOOP("ovelo::SettingsDialog", "B键");

constexpr KeyChoice kPlay{"Combo1", ini::PlayKey, kSpaceKey, "32", kPKey, "80", "32", kSpaceKey};
constexpr KeyChoice kStop{"Combo3", ini::StopKey, kSKey, "83", kTKey, "84", "84", kTKey};
constexpr KeyChoice kBoss{"Combo2", ini::BossKey, kLKey, "76", kBKey, "66", "66", kBKey};

// Every caption of the dialog is written in the program's language and shown in the desktop's.
QString Text(const char* source) {
    return SettingsDialog::tr(source);
}

QString ShownText(const KeyChoice& choice, const QString& stored) {
    if (stored == QLatin1String(choice.loadCode))
        return Text(choice.loadText);
    return Text(qstrcmp(choice.loadText, choice.first) == 0 ? choice.second : choice.first);
}

QString CodeFor(const KeyChoice& choice, const QString& text) {
    // The first item as shown, or as written where a user typed it so.
    const bool first = text == Text(choice.first) || text == QString::fromUtf8(choice.first);
    return QLatin1String(first ? choice.firstCode : choice.secondCode);
}

QString Switch(const QCheckBox* box) {
    return QLatin1String(box->isChecked() ? ini::On : ini::Off);
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const char* caption, bool checked,
                    bool enabled = true) {
    auto* box = new QCheckBox(Text(caption), parent);
    box->setObjectName(name);
    box->setChecked(checked);
    box->setEnabled(enabled);
    return box;
}

QGroupBox* NewFrame(QWidget* parent, const char* name, const char* caption = nullptr) {
    auto* frame = new QGroupBox(caption ? Text(caption) : QString(), parent);
    frame->setObjectName(name);
    return frame;
}

QComboBox* NewCombo(QWidget* parent, const KeyChoice& choice) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(choice.combo);
    combo->setEditable(true);
    // A typed text is kept as text, never added to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems({Text(choice.first), Text(choice.second)});
    combo->setEditText(Text(choice.first));
    return combo;
}

QComboBox* Combo(const QWidget* dialog, const KeyChoice& choice) {
    return dialog->findChild<QComboBox*>(QLatin1String(choice.combo));
}

} // namespace

SettingsDialog::SettingsDialog(MainAccess& main)
    : Form("Form6", tr("全局设置", "the window's title"), 5325, 3225), main_(main) {
    createPages();
    makeFixedSingle();
    loadSettings();

    volumePageTimer_.setObjectName("Timer1");
    volumePageTimer_.setInterval(pageFollow);
    connect(&volumePageTimer_, &QTimer::timeout, this, &SettingsDialog::followVolumePage);
    shortcutSwitchTimer_.setObjectName("Timer2");
    shortcutSwitchTimer_.setInterval(switchFollow);
    connect(&shortcutSwitchTimer_, &QTimer::timeout, this, &SettingsDialog::followShortcutSwitch);
}

// The dialog is made hidden, well before it is first opened, and may stay so for the
// program's life: its timers run only while it shows. Shown, it catches up at once with what
// the ticks would have followed meanwhile.
void SettingsDialog::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    followVolumePage();
    followShortcutSwitch();
    volumePageTimer_.start();
    shortcutSwitchTimer_.start();
}

void SettingsDialog::hideEvent(QHideEvent* event) {
    Form::hideEvent(event);
    volumePageTimer_.stop();
    shortcutSwitchTimer_.stop();
}

std::chrono::milliseconds
SettingsDialog::SetPageFollowForTesting(std::chrono::milliseconds interval) {
    return std::exchange(pageFollow, interval);
}

std::chrono::milliseconds
SettingsDialog::SetSwitchFollowForTesting(std::chrono::milliseconds interval) {
    return std::exchange(switchFollow, interval);
}

void SettingsDialog::createPages() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("t1");
    // The tabs only choose a page; the pages' controls lie over the tab strip's area.
    for (const char* caption :
         {QT_TR_NOOP("全局设置"), QT_TR_NOOP("声音设置"), QT_TR_NOOP("快捷键设置")})
        tabs_->addTab(new QWidget, Text(caption));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int i) { showPage(i + 1); });

    NewFrame(this, "Frame1");
    resumeSwitch_ = NewCheck(this, "Check1", QT_TR_NOOP("自动保存播放进度"), false);
    NewCheck(this, "Check2", QT_TR_NOOP("自动保存窗体大小"), true, false);
    NewCheck(this, "Check3", QT_TR_NOOP("启动时关联Flv"), true, false);

    NewFrame(this, "Frame2");
    volumeSlider_ = new QSlider(Qt::Horizontal, this);
    volumeSlider_->setObjectName("S1");
    volumeSlider_->setRange(0, 100);
    volumeSlider_->setSingleStep(1);
    volumeSlider_->setPageStep(1);
    connect(volumeSlider_, &QSlider::actionTriggered, this, &SettingsDialog::onVolumeMoved);
    NewCheck(this, "Check4", QT_TR_NOOP("启动音量保存"), true, false);

    NewFrame(this, "Frame3");
    shortcutSwitch_ = NewCheck(this, "Check5", QT_TR_NOOP("启用快捷键"), true);
    bossKeySwitch_ = NewCheck(this, "Check6", QT_TR_NOOP("启用老板键"), true);
    NewFrame(this, "Frame4", QT_TR_NOOP("播放/暂停"));
    NewCombo(this, kPlay);
    NewFrame(this, "Frame5", QT_TR_NOOP("老板键"));
    NewCombo(this, kBoss);
    NewFrame(this, "Frame6", QT_TR_NOOP("停止"));
    NewCombo(this, kStop);

    auto* ok = new QPushButton(tr("确定"), this);
    ok->setObjectName("Command2");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SettingsDialog::confirm);
    auto* cancel = new QPushButton(tr("取消"), this);
    cancel->setObjectName("Command1");
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    PlaceAndRecord(this, {{"t1", 120, 120, 5055, 2535},
                          {"Frame1", 240, 480, 4815, 2055},
                          {"Check1", 480, 720, 1935, 495},
                          {"Check2", 480, 1200, 1935, 495},
                          {"Check3", 480, 1680, 1575, 495},
                          {"Frame2", 240, 480, 4815, 2055},
                          {"S1", 480, 720, 4335, 495},
                          {"Check4", 600, 1320, 1575, 495},
                          {"Frame3", 240, 480, 4815, 2055},
                          {"Check5", 480, 720, 1215, 495},
                          {"Check6", 480, 1200, 1215, 495},
                          {"Frame4", 2040, 720, 2535, 735},
                          {"Combo1", 2160, 960, 2295, 300},
                          {"Frame5", 360, 1680, 1575, 735},
                          {"Combo2", 480, 1920, 1215, 300},
                          {"Frame6", 2040, 1560, 2535, 855},
                          {"Combo3", 2160, 1800, 2295, 300},
                          {"Command2", 2400, 2760, 1335, 375},
                          {"Command1", 3840, 2760, 1335, 375}});
    generalPage_ = findPage("Frame1", {"Check1", "Check2", "Check3"});
    volumePage_ = findPage("Frame2", {"S1", "Check4"});
    shortcutPage_ = findPage(
        "Frame3", {"Frame4", "Frame5", "Frame6", "Check5", "Check6", "Combo1", "Combo2", "Combo3"});
    showPage(1);
}

void SettingsDialog::loadSettings() {
    volumeSlider_->setValue(main_.mainPlayer().Volume());
    resumeSwitch_->setChecked(ReadSetting(ini::AutoSave) == QLatin1String(ini::On));
    const QString keysOn = ReadSetting(ini::KeysOn);
    const QString bossKeyOn = ReadSetting(ini::BossKeyOn);
    const QString play = ReadSetting(ini::PlayKey);
    const QString stop = ReadSetting(ini::StopKey);
    const QString boss = ReadSetting(ini::BossKey);
    shortcutSwitch_->setChecked(keysOn == QLatin1String(ini::On));
    bossKeySwitch_->setChecked(bossKeyOn == QLatin1String(ini::On));
    Combo(this, kPlay)->setEditText(ShownText(kPlay, play));
    Combo(this, kStop)->setEditText(ShownText(kStop, stop));
    Combo(this, kBoss)->setEditText(ShownText(kBoss, boss));
}

void SettingsDialog::showPage(int index) {
    for (int page = 1; page <= 3; ++page)
        findChild<QWidget*>(QStringLiteral("Frame%1").arg(page))->setVisible(page == index);
    setMembersVisible(generalPage_);
    followVolumePage();
    followShortcutPage();
}

SettingsDialog::Page SettingsDialog::findPage(const char* frame,
                                              std::initializer_list<const char*> members) const {
    // Found once: the ticks that follow the pages run ten times a second for the program's life.
    Page page{findChild<QWidget*>(QLatin1String(frame)), {}};
    for (const char* name : members)
        page.members << findChild<QWidget*>(QLatin1String(name));
    return page;
}

void SettingsDialog::setMembersVisible(const Page& page) {
    const bool visible = page.frame->isVisibleTo(this);
    for (QWidget* member : page.members)
        member->setVisible(visible);
}

void SettingsDialog::followVolumePage() {
    setMembersVisible(volumePage_);
}

void SettingsDialog::followShortcutPage() {
    setMembersVisible(shortcutPage_);
}

void SettingsDialog::followShortcutSwitch() {
    // The boss key's box follows the shortcut switch alone, not the boss-key switch.
    const bool on = shortcutSwitch_->isChecked();
    bossKeySwitch_->setEnabled(on);
    Combo(this, kPlay)->setEnabled(on);
    Combo(this, kStop)->setEnabled(on);
    Combo(this, kBoss)->setEnabled(on);
}

void SettingsDialog::onVolumeMoved() {
    // The slider's position is already where the user put it; its value follows later.
    main_.mainPlayer().SetVolume(volumeSlider_->sliderPosition());
}

void SettingsDialog::confirm() {
    WriteSetting(ini::AutoSave, Switch(resumeSwitch_));
    WriteSetting(ini::Sound, QString::number(volumeSlider_->value()));
    WriteSetting(ini::KeysOn, Switch(shortcutSwitch_));
    WriteSetting(ini::BossKeyOn, Switch(bossKeySwitch_));
    WriteSetting(kBoss.entry, CodeFor(kBoss, Combo(this, kBoss)->currentText()));
    WriteSetting(kPlay.entry, CodeFor(kPlay, Combo(this, kPlay)->currentText()));
    WriteSetting(kStop.entry, CodeFor(kStop, Combo(this, kStop)->currentText()));
    auto* box =
        new QMessageBox(QMessageBox::Information, tr("设置"), tr(kDoneText), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The dialog goes once the user has seen the box; the settings are written already.
    connect(box, &QMessageBox::finished, this, &QWidget::close);
    box->open();
}

} // namespace ovelo
