// Full-screen playback: the hand-over to a second player, Esc on its two roads, the hint banner.
// Run on a real X server, where windows have a screen, a stacking order and opacity.
#include "lookguards.h"
#include "programfixture.h"

#include "skins/skinengine.h"
#include "windows/fullscreenwindow.h"
#include "windows/hintwindow.h"

#include <QElapsedTimer>
#include <QScreen>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

// The program's windows with a full-screen window whose player the test scripts.
struct FullScreen : Program {
    FullScreen() {
        windows.setFactory(WindowId::FullScreen, [this](WindowContext& c) {
            return new FullScreenWindow(c.main, nullptr, [this](QWidget* parent) {
                second = new ScriptedPlayer(parent);
                return second;
            });
        });
        main.player.movie = "/videos/a b&c 视频.flv";
        main.player.state = "Play";
    }
    void enter(float at) {
        main.player.time = at;
        HandOverToFullScreen(windows, main);
        QVERIFY(window());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        main.player.log.clear();
        second->log.clear();
    }
    FullScreenWindow* window() const {
        return windows.loaded<FullScreenWindow>(WindowId::FullScreen);
    }
    QWidget* hint() const { return windows.loaded(WindowId::FullScreenHint); }

    ScriptedPlayer* second = nullptr;
};

enum class Road { Player, Window };

void PressOn(FullScreen& f, Road road, int key, short ascii) {
    if (road == Road::Player)
        emit f.second->KeyPress(ascii);
    else
        QTest::keyClick(f.window(), Qt::Key(key));
}

} // namespace

Q_DECLARE_METATYPE(Road)

class TestFullScreen : public QObject {
    Q_OBJECT
    std::optional<LookGuard> look_;

  private slots:
    // As the program starts: its own look is in force before any window is made.
    void init() {
        look_.emplace();
        QCOMPARE(AttachProgramLook(), int(SkinDone));
    }
    void cleanup() { look_.reset(); }

    void handOverRoundsThePositionHalvesToEven_data() {
        QTest::addColumn<float>("at");
        QTest::addColumn<QString>("goTo");
        QTest::newRow("42.5") << 42.5f << "GotoTime(42)";
        QTest::newRow("43.5") << 43.5f << "GotoTime(44)";
        QTest::newRow("nothing playing") << 0.0f << "GotoTime(0)";
    }
    void handOverRoundsThePositionHalvesToEven() {
        QFETCH(float, at);
        QFETCH(QString, goTo);
        FullScreen f;
        f.main.player.time = at;
        HandOverToFullScreen(f.windows, f.main);
        QVERIFY(f.second);
        QCOMPARE(f.second->log,
                 (QStringList{"PlayMovie(" + f.main.player.movie + ")", goTo, "SetVolume(35)"}));
        QCOMPARE(f.main.player.log, QStringList{"PauseMovie"});
    }

    void fullScreenWindowCoversTheScreenAboveTheOthers() {
        FullScreen f;
        f.enter(10);
        FullScreenWindow* w = f.window();
        QCOMPARE(w->objectName(), QString("Form3"));
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->windowState() & Qt::WindowFullScreen);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(w->geometry(), screen);
        // The player keeps covering the window at its new size.
        QTRY_VERIFY(f.second->geometry().contains(w->rect().adjusted(2, 2, -2, -2)));
        QWidget* hint = f.hint();
        QVERIFY(hint && hint->isVisible());
        QCOMPARE(hint->frameGeometry().topLeft(), screen.topLeft());
        QCOMPARE(hint->windowTitle(), QString("ESC"));
        QVERIFY(hint->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(qRound(hint->windowOpacity() * 255), 200);
        QCOMPARE(hint->findChild<QWidget*>("Picture2")->toolTip(), QString("关闭"));
    }

    void fullScreenWindowStaysBlackUnderEverySkin_data() {
        QTest::addColumn<QByteArray>("skin");
        QTest::newRow("no skin") << QByteArray();
        QTest::newRow("a skin that paints every window")
            << QByteArray("QWidget { background-color: white; } #Form3 { background: red; }");
    }
    void fullScreenWindowStaysBlackUnderEverySkin() {
        QFETCH(QByteArray, skin);
        QTemporaryDir folder;
        if (!skin.isEmpty()) {
            const QString path = folder.filePath("Loud.skn");
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(skin) == skin.size());
            file.close();
            QCOMPARE(SkinH_AttachEx(path, QString()), int(SkinDone));
        }
        FullScreen f;
        f.enter(10);
        QCOMPARE(f.window()->palette().color(QPalette::Window), QColor(Qt::black));
    }

    void escapeHandsThePositionBack_data() {
        QTest::addColumn<Road>("road");
        QTest::addColumn<QString>("secondState");
        QTest::addColumn<QStringList>("mainCalls");
        QTest::addColumn<QString>("secondCall");
        const QStringList playsOn{"GotoTime(80)", "PauseMovie"};
        const QStringList stops{"GotoTime(80)", "PauseMovie", "StopMovie"};
        // The Esc's own stop or pause is not the movie ending: the main player plays on.
        QTest::newRow("window, playing") << Road::Window << "Play" << playsOn << "PauseMovie";
        QTest::newRow("player, playing") << Road::Player << "Play" << playsOn << "StopMovie";
        QTest::newRow("window, paused") << Road::Window << "Pause" << playsOn << "PauseMovie";
        // A full-screen movie that had ended ends the main window's playback too.
        QTest::newRow("window, ended") << Road::Window << "Stop" << stops << "PauseMovie";
        QTest::newRow("player, ended") << Road::Player << "Stop" << stops << "StopMovie";
    }
    void escapeHandsThePositionBack() {
        QFETCH(Road, road);
        QFETCH(QString, secondState);
        QFETCH(QStringList, mainCalls);
        QFETCH(QString, secondCall);
        FullScreen f;
        f.enter(10);
        f.second->state = secondState;
        f.second->time = 80.4f;
        PressOn(f, road, Qt::Key_Escape, 27);
        QCOMPARE(f.main.player.log, mainCalls);
        QCOMPARE(f.second->log, QStringList{secondCall});
        QVERIFY(!f.window());
        QVERIFY(!f.hint());
    }

    void otherKeysDoNothing() {
        FullScreen f;
        f.enter(10);
        for (Road road : {Road::Player, Road::Window}) {
            PressOn(f, road, Qt::Key_Return, 13);
            PressOn(f, road, Qt::Key_Space, 32);
            PressOn(f, road, Qt::Key_Q, 'q');
        }
        QVERIFY(f.window());
        QVERIFY(f.main.player.log.isEmpty());
        QVERIFY(f.second->log.isEmpty());
    }

    void exitWhileInFullScreen_data() {
        QTest::addColumn<QString>("secondState");
        QTest::addColumn<QStringList>("mainCalls");
        QTest::newRow("playing") << "Play" << QStringList{};
        QTest::newRow("ended") << "Stop" << QStringList{"StopMovie"};
    }
    void exitWhileInFullScreen() {
        QFETCH(QString, secondState);
        QFETCH(QStringList, mainCalls);
        FullScreen f;
        f.enter(10);
        f.second->state = secondState;
        f.windows.unloadAll();
        QCOMPARE(f.main.player.log, mainCalls);
        QVERIFY(!f.window() && !f.hint());
    }

    void eachFullScreenHasANewPlayer() {
        FullScreen f;
        f.enter(10);
        QPointer<ScriptedPlayer> first = f.second;
        QTest::keyClick(f.window(), Qt::Key_Escape);
        QTRY_VERIFY(!first);
        f.enter(20);
        QVERIFY(f.second && f.second != first);
        QCOMPARE(f.second->played.size(), 1);
    }

    void hintClosesByItselfOrByItsClosePicture() {
        // A second stands for the banner's five: long enough for the full-screen window to be
        // shown with the banner still up, even on a busy machine.
        const std::chrono::milliseconds shown{1000};
        Hook shortBanner(&HintWindow::SetShowForTesting, shown);
        QCOMPARE(shortBanner.previous().count(), 5000); // the program's own
        FullScreen f;
        QElapsedTimer clock;
        clock.start();
        f.enter(10);
        QVERIFY(f.hint());
        QTRY_VERIFY_WITH_TIMEOUT(!f.hint(), 10000);
        // Not before its time; a coarse timer may fire up to 5 % early.
        QVERIFY2(clock.elapsed() >= shown.count() * 95 / 100,
                 qPrintable(QString::number(clock.elapsed())));
        // The full-screen window stays, and takes Esc again.
        QVERIFY(f.window());
        QTest::keyClick(f.window(), Qt::Key_Escape);
        QVERIFY(!f.window());

        f.enter(10);
        QWidget* close = f.hint()->findChild<QWidget*>("Picture2");
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!f.hint());
        QVERIFY(f.window());
    }
};

QTEST_MAIN(TestFullScreen)
#include "tst_fullscreen.moc"
