// The main window's commands: the menu tree, its pop-ups, and what each item, button and
// picture does.
#include "layout/layout.h"
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowfixture.h"
#include "openedurls.h"
#include "session/mediacommands.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

struct ItemRow {
    const char* menu;
    const char* name;
    const char* caption;
    const char* shortcut;
};

// Every menu's items in menu order, "-" for a separator, as the window must have them.
const ItemRow kMenuTree[] = {
    {"mf", "mo", "打开", "Ctrl+O"},
    {"mf", "mourl", "打开URL", "Ctrl+U"},
    {"mf", "mnufx", "分析视频地址", ""},
    {"mf", "dq", "读取保存进度", "Ctrl+R"},
    {"mf", "m2", "-", ""},
    {"mf", "mt", "退出", "Ctrl+Q"},
    {"ms", "mplay", "播放", "Shift+F1"},
    {"ms", "mpause", "暂停", "Ctrl+Z"},
    {"ms", "mtz", "停止", "Ctrl+T"},
    {"ms", "mnuqp", "全屏", "Ctrl+A"},
    {"mzdy", "mskin", "皮肤管理器", "Del"},
    {"mzdy", "mdhhh", "-", ""},
    {"mzdy", "mnusetting", "全局设置", "Ctrl+S"},
    {"mhelp", "whflv", "Flv是什么?", ""},
    {"mhelp", "whf4v", "F4v是什么?", ""},
    {"mhelp", "kkkkkkkkkk", "-", ""},
    {"mhelp", "brell", "Vantorel", "Ctrl+W"},
    {"mhelp", "mnn", "-", ""},
    {"mhelp", "jcsj", "检测升级", ""},
    {"mhelp", "mnugy", "关于", ""},
    {"tc", "zjm", "主界面", "Ctrl+F5"},
    {"tc", "mx", "-", ""},
    {"tc", "dkwj", "打开文件", "Ctrl+F1"},
    {"tc", "skurl", "打开Url", "Ctrl+F2"},
    {"tc", "mnnn", "-", ""},
    {"tc", "mnuplay", "播放", "Ctrl+F3"},
    {"tc", "mnupause", "暂停", "Shift+F4"},
    {"tc", "mnustop", "停止", ""},
    {"tc", "mnnnnnn", "-", ""},
    {"tc", "tbug", "提交Bug", ""},
    {"tc", "mnuabout", "关于", ""},
    {"tc", "mnuquit", "退出", ""},
};

} // namespace

class TestMenus : public QObject {
    Q_OBJECT
  private slots:
    void menuTreeAsDesigned() {
        Window w;
        QStringList bar;
        for (QAction* a : w.window->menuBar()->actions())
            bar << a->menu()->objectName() + " " + a->text();
        QCOMPARE(bar, QStringList({"mf 文件", "ms 操作", "mzdy 设置", "mhelp 帮助"}));
        QCOMPARE(w.window->trayMenu()->title(), QString("托盘菜单项"));
        QStringList expected, actual;
        for (const ItemRow& row : kMenuTree)
            expected << QString("%1/%2 %3 %4").arg(row.menu, row.name, row.caption, row.shortcut);
        for (const char* menu : {"mf", "ms", "mzdy", "mhelp", "tc"})
            for (QAction* a : w.window->menu(menu)->actions())
                actual << QString("%1/%2 %3 %4")
                              .arg(menu, a->objectName(), a->isSeparator() ? "-" : a->text(),
                                   a->shortcut().toString());
        QCOMPARE(actual, expected);
        for (QAction* a : w.window->findChildren<QAction*>())
            if (!a->objectName().isEmpty())
                QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }

    // Buttons, the hidden Cmdplay, menu items (播放 and 暂停 alike), the configured key on both
    // of its roads and the desktop's media controls all go through the one action of the
    // command, and only through it: a disabled command does nothing, whichever road asks.
    void everyRoadTriggersTheOneCommand() {
        Window w;
        w.control->PlayMovie("/v/b.flv");
        QAction* toggle = w.window->commands().action(Command::TogglePlayback);
        QSignalSpy triggered(toggle, &QAction::triggered);
        const std::function<void()> roads[] = {
            [&] { w.find<QToolButton>("Command1")->click(); },
            [&] { w.find<QToolButton>("Command2")->click(); },
            [&] { w.find<QPushButton>("Cmdplay")->click(); },
            [&] { w.find<QAction>("mplay")->trigger(); },
            [&] { w.find<QAction>("mpause")->trigger(); },
            [&] { w.find<QAction>("mnuplay")->trigger(); },
            [&] { w.find<QAction>("mnupause")->trigger(); },
            [&] { w.window->flv_KeyDown(32, 0); },
            [&] {
                w.window->centralWidget()->setFocus();
                QTest::keyClick(w.window.get(), Qt::Key_Space);
            },
            [&] { w.window->mediaControls().togglePlayback(); },
        };
        for (const auto& road : roads) {
            w.engine->calls.clear();
            road();
            QCOMPARE(w.engine->calls, QStringList{"pauseMovie()"});
        }
        QCOMPARE(triggered.count(), int(std::size(roads)));

        w.engine->calls.clear();
        toggle->setEnabled(false);
        for (const auto& road : roads)
            road();
        QCOMPARE(w.engine->calls, QStringList());
        QVERIFY(!w.find<QAction>("mplay")->isEnabled() && !w.find<QAction>("mnuplay")->isEnabled());

        for (const char* item : {"mtz", "mnustop"}) {
            w.engine->calls.clear();
            w.find<QAction>(item)->trigger();
            QCOMPARE(w.engine->calls, QStringList{"StopMovie()"});
        }
    }

    void mouseOnTheVideo() {
        Window w;
        QTest::mouseClick(w.control->inputArea(), Qt::RightButton, {}, {100, 100});
        QMenu* ops = w.window->operationMenu();
        QTRY_VERIFY(ops->isVisible());
        QStringList items;
        for (QAction* a : ops->actions())
            items << a->text();
        QCOMPARE(items, QStringList({"播放", "暂停", "停止", "全屏"}));
        ops->hide();
        QTest::mouseClick(w.control->inputArea(), Qt::LeftButton, {}, {100, 100});
        QVERIFY(!ops->isVisible());
        // The window-message positions: 517 pixels opens the tray menu, 514 shows the window.
        const float tpp = float(TwipsPerPixelX(w.window.get()));
        w.window->flv_MouseMove(0, 0, 516 * tpp, 0);
        QVERIFY(!w.window->trayMenu()->isVisible());
        w.window->flv_MouseMove(0, 0, 517 * tpp, 0);
        QTRY_VERIFY(w.window->trayMenu()->isVisible());
        w.window->trayMenu()->hide();
        w.window->hide();
        w.window->flv_MouseMove(0, 0, 514 * tpp, 0);
        QVERIFY(w.window->isVisible());
    }

    void menusOpenTheWindows() {
        Window w;
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_U, Qt::ControlModifier);
        QWidget* address = w.windows.loaded(WindowId::Address);
        QVERIFY(address && address->isVisible());
        address->close();
        w.window->hide();
        w.find<QAction>("skurl")->trigger(); // from the tray: the main window, then Form2
        QVERIFY(w.window->isVisible());
        QWidget* again = w.windows.loaded(WindowId::Address);
        QVERIFY(again && again != address);
        w.find<QToolButton>("Picture3")->click(); // the same single window
        QCOMPARE(w.windows.loaded(WindowId::Address), again);

        w.find<QAction>("mnugy")->trigger();
        QWidget* about = w.windows.loaded(WindowId::About);
        w.find<QAction>("mnuabout")->trigger();
        QCOMPARE(w.windows.loaded(WindowId::About), about);
        w.find<QAction>("mnufx")->trigger();
        w.find<QAction>("whflv")->trigger();
        w.find<QAction>("whf4v")->trigger();
        w.find<QAction>("mskin")->trigger();
        for (WindowId id :
             {WindowId::Analysis, WindowId::AboutFlv, WindowId::AboutF4v, WindowId::SkinManager})
            QVERIFY(w.windows.loaded(id)->isVisible());
        w.windows.loaded(WindowId::SkinManager)->close();
        w.find<QToolButton>("Picture6")->click();
        QVERIFY(w.windows.loaded(WindowId::SkinManager)->isVisible());

        OpenedUrls opened;
        WriteToIni("Net", "Site", "http://site.example/o", w.folder.filePath("Config.ini"));
        w.find<QAction>("brell")->trigger();
        w.find<QToolButton>("Picture4")->click();
        w.find<QAction>("tbug")->trigger();
        QCOMPARE(opened.urls,
                 QList<QUrl>({QUrl("http://site.example/o"), QUrl("http://site.example/o"),
                              QUrl("http://site.example/o/bbs")}));

        // Closing the program unloads them all.
        w.find<QAction>("mt")->trigger();
        for (WindowId id : kUnloadOrder)
            QVERIFY(!w.windows.loaded(id));
    }

    void fullScreenAndSettingsFromTheMenus() {
        Window w;
        w.control->PlayMovie("/v/b.flv");
        w.report("time", "42.5");
        auto* mnuqp = w.find<QAction>("mnuqp");
        QCOMPARE(mnuqp->shortcut(), QKeySequence("Ctrl+A"));
        QVERIFY(w.window->operationMenu()->actions().contains(mnuqp));
        // Full screen would resume a paused movie, so it waits until the movie plays.
        w.report("State", "Pause");
        QTRY_VERIFY(!mnuqp->isEnabled());
        w.report("State", "Play");
        QTRY_VERIFY(mnuqp->isEnabled());
        w.engine->calls.clear();
        mnuqp->trigger();
        QVERIFY(w.windows.loaded(WindowId::FullScreen)->isVisible());
        QVERIFY(w.windows.loaded(WindowId::FullScreenHint)->isVisible());
        QCOMPARE(w.engine->calls, QStringList{"pauseMovie()"});
        QTest::keyClick(w.windows.loaded(WindowId::FullScreen), Qt::Key_Escape);
        QVERIFY(!w.windows.loaded(WindowId::FullScreen) &&
                !w.windows.loaded(WindowId::FullScreenHint));

        // The settings dialog is kept ready, hidden, and made again after each close.
        QTRY_VERIFY(w.windows.loaded(WindowId::Settings));
        QPointer<QWidget> settings = w.windows.loaded(WindowId::Settings);
        QVERIFY(!settings->isVisible());
        w.find<QAction>("mnusetting")->trigger();
        QVERIFY(settings->isVisible());
        settings->close();
        QTRY_VERIFY(!settings && w.windows.loaded(WindowId::Settings));
        QVERIFY(!w.windows.loaded(WindowId::Settings)->isVisible());
        w.find<QToolButton>("Picture5")->click();
        QVERIFY(w.windows.loaded(WindowId::Settings)->isVisible());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
