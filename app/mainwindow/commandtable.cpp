// The main window's commands and menus, each from one table.
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubuilder.h"
#include "mainwindow/playbackcontroller.h"
#include "mainwindow/webopener.h"
#include "product.h"
#include "settings/webaddresses.h"
#include "windows/coordinator.h"

#include "flv/velmora.h"

#include <QMenuBar>

namespace ovelo {

void MainWindow::createCommands(WindowCoordinator& windows) {
    PlaybackController& c = *controller_;
    // A window the program does not have: its command, and so its items, stay away.
    const auto show = [&windows](WindowId id) -> std::function<void()> {
        if (!windows.has(id))
            return {};
        return [&windows, id] { windows.show(id); };
    };
    // Full screen would resume a paused movie: the hand-over's pause is a toggle.
    const auto notPaused = [this] { return player_->State() != flv::state::Pause; };
    const std::vector<CommandRow> rows = {
        {Command::OpenFile, "openFile", [&c] { c.openFile(1); }},
        {Command::OpenAddress, "openAddress", show(WindowId::Address)},
        {Command::AnalyseAddress, "analyseAddress", show(WindowId::Analysis)},
        {Command::ResumePosition, "resumePosition", [&c] { c.resumeSavedPosition(); }},
        {Command::Quit, "quit", [&c] { c.quit(); }},
        {Command::TogglePlayback, "togglePlayback", [&c] { c.togglePlayback(); }},
        {Command::Stop, "stop", [&c] { c.stop(); }},
        {Command::FullScreen, "fullScreen", [&c] { c.enterFullScreen(); }, notPaused},
        {Command::SkinManager, "skinManager", show(WindowId::SkinManager)},
        {Command::Settings, "settings", show(WindowId::Settings)},
        {Command::AboutFlv, "aboutFlv", show(WindowId::AboutFlv)},
        {Command::AboutF4v, "aboutF4v", show(WindowId::AboutF4v)},
        {Command::ProductSite, "productSite", [] { OpenWebAddress(ProductSite()); }},
        {Command::CheckUpdates, "checkUpdates", show(WindowId::Updater)},
        {Command::About, "about", show(WindowId::About)},
        {Command::RestoreWindow, "restoreWindow", [&c] { c.restoreWindow(); }},
        {Command::OpenFileFromTray, "openFileFromTray", [&c] { c.openFile(2); }},
        {Command::OpenAddressFromTray, "openAddressFromTray",
         windows.has(WindowId::Address) ? std::function<void()>([&c] { c.openAddressFromTray(); })
                                        : std::function<void()>()},
        {Command::ReportBug, "reportBug", [] { OpenWebAddress(ProductForum()); }},
        {Command::HideAndSilence, "hideAndSilence", [&c] { c.hideAndSilence(); }},
        {Command::ToggleWindowShown, "toggleWindowShown", [&c] { c.toggleWindowShown(); }},
    };
    commands_ = new CommandSet(this, rows);
}

void MainWindow::createMenus() {
    using C = Command;
    const std::vector<MenuRow> menus = {{"mf", QT_TR_NOOP("文件"), true},
                                        {"ms", QT_TR_NOOP("操作"), true},
                                        {"mzdy", QT_TR_NOOP("设置"), true},
                                        {"mhelp", QT_TR_NOOP("帮助"), true},
                                        {"tc", QT_TR_NOOP("托盘菜单项"), false}};
    const std::vector<MenuItemRow> items = {
        {"mf", "mo", QT_TR_NOOP("打开"), "Ctrl+O", C::OpenFile},
        {"mf", "mourl", QT_TR_NOOP("打开URL"), "Ctrl+U", C::OpenAddress},
        {"mf", "mnufx", QT_TR_NOOP("分析视频地址"), "", C::AnalyseAddress},
        {"mf", "dq", QT_TR_NOOP("读取保存进度"), "Ctrl+R", C::ResumePosition},
        {"mf", "m2", kSeparator, "", {}},
        {"mf", "mt", QT_TR_NOOP("退出"), "Ctrl+Q", C::Quit},
        {"ms", "mplay", QT_TR_NOOP("播放"), "Shift+F1", C::TogglePlayback},
        {"ms", "mpause", QT_TR_NOOP("暂停"), "Ctrl+Z", C::TogglePlayback},
        {"ms", "mtz", QT_TR_NOOP("停止"), "Ctrl+T", C::Stop},
        {"ms", "mnuqp", QT_TR_NOOP("全屏"), "Ctrl+A", C::FullScreen},
        {"mzdy", "mskin", QT_TR_NOOP("皮肤管理器"), "Del", C::SkinManager},
        {"mzdy", "mdhhh", kSeparator, "", {}},
        {"mzdy", "mnusetting", QT_TR_NOOP("全局设置"), "Ctrl+S", C::Settings},
        {"mhelp", "whflv", QT_TR_NOOP("Flv是什么?"), "", C::AboutFlv},
        {"mhelp", "whf4v", QT_TR_NOOP("F4v是什么?"), "", C::AboutF4v},
        {"mhelp", "kkkkkkkkkk", kSeparator, "", {}},
        {"mhelp", "brell", kMakerName, "Ctrl+W", C::ProductSite},
        {"mhelp", "mnn", kSeparator, "", {}},
        {"mhelp", "jcsj", QT_TR_NOOP("检测升级"), "", C::CheckUpdates},
        {"mhelp", "mnugy", QT_TR_NOOP("关于"), "", C::About},
        {"tc", "zjm", QT_TR_NOOP("主界面"), "Ctrl+F5", C::RestoreWindow},
        {"tc", "mx", kSeparator, "", {}},
        {"tc", "dkwj", QT_TR_NOOP("打开文件"), "Ctrl+F1", C::OpenFileFromTray},
        {"tc", "skurl", QT_TR_NOOP("打开Url"), "Ctrl+F2", C::OpenAddressFromTray},
        {"tc", "mnnn", kSeparator, "", {}},
        {"tc", "mnuplay", QT_TR_NOOP("播放"), "Ctrl+F3", C::TogglePlayback},
        {"tc", "mnupause", QT_TR_NOOP("暂停"), "Shift+F4", C::TogglePlayback},
        {"tc", "mnustop", QT_TR_NOOP("停止"), "", C::Stop},
        {"tc", "mnnnnnn", kSeparator, "", {}},
        {"tc", "tbug", QT_TR_NOOP("提交Bug"), "", C::ReportBug},
        {"tc", "mnuabout", QT_TR_NOOP("关于"), "", C::About},
        {"tc", "mnuquit", QT_TR_NOOP("退出"), "", C::Quit},
    };
    menus_ = BuildMenus(menuBar(), this, *commands_, menus, items, staticMetaObject.className());
}

} // namespace ovelo
