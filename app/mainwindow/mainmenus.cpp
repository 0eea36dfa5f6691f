// The main window's menus, from one table.
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubuilder.h"
#include "product.h"
#include "windows/coordinator.h"

#include "flv/velmora.h"

#include <QMenu>
#include <QMenuBar>

namespace ovelo {

std::function<void()> MainWindow::showWindow(WindowId id) {
    if (!windows_.has(id))
        return {};
    return [this, id] { windows_.show(id); };
}

void MainWindow::createMenus() {
    const auto toggle = [this] { player_->PauseMovie(); };
    const auto stop = [this] { player_->StopMovie(); };
    const auto quit = [this] { Quit(); };
    const auto about = showWindow(WindowId::About);
    const std::vector<MenuRow> menus = {{"mf", "文件", true},
                                        {"ms", "操作", true},
                                        {"mzdy", "设置", true},
                                        {"mhelp", "帮助", true},
                                        {"tc", "托盘菜单项", false}};
    const std::vector<MenuItemRow> items = {
        {"mf", "mo", "打开", "Ctrl+O", [this] { OpenFile(1); }},
        {"mf", "mourl", "打开URL", "Ctrl+U", showWindow(WindowId::Address)},
        {"mf", "mnufx", "分析视频地址", "", showWindow(WindowId::Analysis)},
        {"mf", "dq", "读取保存进度", "Ctrl+R", [this] { ResumeSavedPosition(); }},
        {"mf", "m2", kSeparator, "", {}},
        {"mf", "mt", "退出", "Ctrl+Q", quit},
        {"ms", "mplay", "播放", "Shift+F1", toggle},
        {"ms", "mpause", "暂停", "Ctrl+Z", toggle},
        {"ms", "mtz", "停止", "Ctrl+T", stop},
        {"ms", "mnuqp", "全屏", "Ctrl+A", [this] { EnterFullScreen(); }},
        {"mzdy", "mskin", "皮肤管理器", "Del", showWindow(WindowId::SkinManager)},
        {"mzdy", "mdhhh", kSeparator, "", {}},
        {"mzdy", "mnusetting", "全局设置", "Ctrl+S", showWindow(WindowId::Settings)},
        {"mhelp", "whflv", "Flv是什么?", "", showWindow(WindowId::AboutFlv)},
        {"mhelp", "whf4v", "F4v是什么?", "", showWindow(WindowId::AboutF4v)},
        {"mhelp", "kkkkkkkkkk", kSeparator, "", {}},
        {"mhelp", "brell", kMakerName, "Ctrl+W", [this] { OpenProductSite(); }},
        {"mhelp", "mnn", kSeparator, "", {}},
        {"mhelp", "jcsj", "检测升级", "", showWindow(WindowId::Updater)},
        {"mhelp", "mnugy", "关于", "", about},
        {"tc", "zjm", "主界面", "Ctrl+F5", [this] { RestoreMainWindow(); }},
        {"tc", "mx", kSeparator, "", {}},
        {"tc", "dkwj", "打开文件", "Ctrl+F1", [this] { OpenFile(2); }},
        {"tc", "skurl", "打开Url", "Ctrl+F2", [this] { OpenAddressFromTray(); }},
        {"tc", "mnnn", kSeparator, "", {}},
        {"tc", "mnuplay", "播放", "Ctrl+F3", toggle},
        {"tc", "mnupause", "暂停", "Shift+F4", toggle},
        {"tc", "mnustop", "停止", "", stop},
        {"tc", "mnnnnnn", kSeparator, "", {}},
        {"tc", "tbug", "提交Bug", "", [this] { OpenProductForum(); }},
        {"tc", "mnuabout", "关于", "", about},
        {"tc", "mnuquit", "退出", "", quit},
    };
    menus_ = BuildMenus(menuBar(), this, menus, items);
    mnuqp_ = findChild<QAction*>(QStringLiteral("mnuqp"));
}

void MainWindow::OpenAddressFromTray() {
    ShowAndFocus();
    windows_.show(WindowId::Address);
}

} // namespace ovelo
