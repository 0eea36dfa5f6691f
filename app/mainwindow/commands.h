// The main window's commands: one action each, made from one table. Menus, buttons, the idle
// screen's pictures, the configured keys, the tray and the desktop's media controls all trigger
// these actions; none calls a command's handler any other way.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QWidget;

namespace ovelo {

enum class Command {
    OpenFile,
    OpenAddress,
    AnalyseAddress,
    ResumePosition,
    Quit,
    TogglePlayback,
    Stop,
    FullScreen,
    SkinManager,
    Settings,
    AboutFlv,
    AboutF4v,
    ProductSite,
    CheckUpdates,
    About,
    RestoreWindow,
    OpenFileFromTray,
    OpenAddressFromTray,
    ReportBug,
    // The boss key over the video or the window, and on the seek slider.
    HideAndSilence,
    ToggleWindowShown,
};

struct CommandRow {
    Command command;
    const char* name; // the action's objectName
    // Empty while the program cannot do it (its window is missing): the command then has no
    // action, and no menu item, button or key offers it.
    std::function<void()> run;
    // Asked at every refresh(); always enabled when empty.
    std::function<bool()> enabled = {};
};

class CommandSet : public QObject {
    Q_OBJECT
  public:
    // Each action belongs to `owner`.
    CommandSet(QWidget* owner, const std::vector<CommandRow>& rows);

    // nullptr when the program cannot do it.
    QAction* action(Command command) const;
    void trigger(Command command) const;
    // Enables each action as its row says.
    void refresh();

  private:
    std::map<Command, QAction*> actions_;
    std::map<Command, std::function<bool()>> enabled_;
};

} // namespace ovelo
