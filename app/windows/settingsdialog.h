// Form6, 全局设置: the resume switch, the volume, the shortcut keys and the boss key. It shows
// what Config.ini held when it was made, sets the volume at once and writes everything on 确定.
#pragma once

#include "windows/form.h"

#include <QList>
#include <QTimer>
#include <chrono>

class QCheckBox;
class QComboBox;
class QSlider;
class QTabWidget;

namespace ovelo {

class MainAccess;

class SettingsDialog : public Form {
    Q_OBJECT
  public:
    explicit SettingsDialog(MainAccess& main);

    // Gives the shortcut page's controls the visibility of their page frame, as each choice of
    // a tab does.
    void followShortcutPage();

    // For tests, which wait for the timers: their intervals in the dialogs made from now on.
    // Each returns the interval it replaces.
    static std::chrono::milliseconds SetPageFollowForTesting(std::chrono::milliseconds interval);
    static std::chrono::milliseconds SetSwitchFollowForTesting(std::chrono::milliseconds interval);

    // The box that confirms the writes; tests answer it.
    static constexpr const char* kDoneText = QT_TR_NOOP("设置完成!重启播放器生效!");

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void createPages();
    void loadSettings();
    void showPage(int index);
    void followVolumePage();
    void followShortcutSwitch();
    void onVolumeMoved();
    void confirm();
    // A page's frame and the controls that take its visibility.
    struct Page {
        QWidget* frame = nullptr;
        QList<QWidget*> members;
    };
    Page findPage(const char* frame, std::initializer_list<const char*> members) const;
    void setMembersVisible(const Page& page);

    MainAccess& main_;
    QTabWidget* tabs_ = nullptr;
    QSlider* volumeSlider_ = nullptr;
    QCheckBox* resumeSwitch_ = nullptr;
    QCheckBox* shortcutSwitch_ = nullptr;
    QCheckBox* bossKeySwitch_ = nullptr;
    Page generalPage_, volumePage_, shortcutPage_;
    // Children, so they are found by their names as the dialog's other parts are.
    QTimer volumePageTimer_{this};
    QTimer shortcutSwitchTimer_{this};
};

} // namespace ovelo
