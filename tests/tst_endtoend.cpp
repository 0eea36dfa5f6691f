// The real program, started as a user starts it, under an X server: what the user sees on the
// screen and what Config.ini keeps. Windows are found by the program's process and titles.
#include "desktoptools.h"
#include "privatebus.h"
#include "settings/inifile.h"
#include "testfiles.h"
#include "traystandin.h"

#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QtTest>
#include <algorithm>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

constexpr int kStartMs = 15000;

// The frames of a moving picture differ; a still one repeats.
bool Differ(const QImage& a, const QImage& b) {
    return !a.isNull() && !b.isNull() && a != b;
}

// Many distinct colours: a test picture, not a blank or black area.
bool Varied(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 6)
        for (int x = 0; x < image.width(); x += 6)
            colours.insert(image.pixel(x, y));
    return colours.size() >= 6;
}

// One installation of the program in a folder of its own, with a home of its own.
class Ovelo : public ProcessWindows {
  public:
    Ovelo() : ProcessWindows(process_) {
        CopyProgramFolder(folder());
        QFile::setPermissions(folder() + "/ovelo", QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadGroup |
                                                       QFile::ExeGroup);
        QProcessEnvironment env = ProgramEnvironment(root_);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
    }
    ~Ovelo() { stop(); }

    void setEnvironment(const QString& name, const QString& value) {
        QProcessEnvironment env = process_.processEnvironment();
        env.insert(name, value);
        process_.setProcessEnvironment(env);
    }

    QString folder() const { return root_.filePath("program"); }
    QString place(const QString& media, const QString& relative) {
        const QString path = root_.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile::copy(media, path);
        return path;
    }
    void setIni(const char* section, const char* key, const QString& value) {
        WriteToIni(section, key, value, folder() + "/Config.ini");
    }
    QString ini(const char* section, const char* key) const {
        return GetFromIni(section, key, folder() + "/Config.ini");
    }

    // Starts the program and waits for its main window.
    bool start(const QStringList& arguments = {}) {
        if (!launch(arguments))
            return false;
        main_ = window("Ovelo", kStartMs);
        return main_ != 0;
    }
    // Starts it where its windows cannot be looked for (Wayland).
    bool launch(const QStringList& arguments) {
        process_.start(folder() + "/ovelo", arguments);
        return process_.waitForStarted(kStartMs);
    }
    bool ended() { return process_.waitForFinished(kStartMs) && process_.exitCode() == 0; }
    // Ends it as a user does, with 退出 (Ctrl+Q), and waits for it to go.
    bool quit() {
        key(main_, "ctrl+q");
        return process_.waitForFinished(kStartMs) && process_.exitCode() == 0;
    }
    void stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kStartMs);
        }
    }

    WId mainWindow() const { return main_; }
    void click(WId window, QPoint at, int button = 1) const {
        const QString id = QString::number(window);
        Xdotool({"mousemove", "--window", id, QString::number(at.x()), QString::number(at.y())});
        Xdotool({"click", QString::number(button)});
    }
    // The main window's video area (its upper part, above the controls), or all of `window`.
    QImage video(WId window = 0) const {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (window)
            return screen->grabWindow(window).toImage();
        const QImage whole = screen->grabWindow(main_).toImage();
        return whole.copy(0, whole.height() / 10, whole.width(), whole.height() / 2);
    }
    // The picture changes, and then again: a video that plays, not a first frame coming up.
    bool moves(int boundMs = 10000, WId window = 0) const {
        QImage last = video(window);
        int changes = 0;
        return Poll(
            [&] {
                const QImage now = video(window);
                changes += Differ(last, now);
                last = now;
                return changes >= 2;
            },
            boundMs);
    }
    // Nothing happens: a video that plays changes its picture 25 times a second, so a picture
    // that stays the same for 300 ms stands still.
    bool still() const {
        const QImage before = video();
        return !Poll([&] { return Differ(before, video()); }, 300);
    }

  private:
    QTemporaryDir root_;
    QProcess process_;
    WId main_ = 0;
};

void CallMpris(const PrivateBus& bus, const QString& method) {
    QProcess::execute("gdbus",
                      {"call", "--address", bus.address(), "--dest", "org.mpris.MediaPlayer2.ovelo",
                       "--object-path", "/org/mpris/MediaPlayer2", "--method", method});
}

// The whole Wayland screen, as the compositor's screenshot client takes it.
QImage WaylandScreen() {
    QTemporaryDir into;
    QProcess shooter;
    shooter.setWorkingDirectory(into.path());
    shooter.start("weston-screenshooter", QStringList());
    shooter.waitForFinished(5000);
    const QStringList shots = QDir(into.path()).entryList({"*.png"});
    return shots.isEmpty() ? QImage() : QImage(into.filePath(shots.first()));
}

// Strong colours over much of the screen: the test picture, not the grey desktop, the
// window's controls or a white area.
bool Colourful(const QImage& image) {
    int samples = 0, strong = 0;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8, ++samples) {
            const QColor c = image.pixelColor(x, y);
            const int spread =
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            strong += spread > 128;
        }
    return samples > 0 && strong * 25 > samples;
}

// Counts what the program announces of its player on the bus.
class Announcements : public QObject {
    Q_OBJECT
  public:
    explicit Announcements(const PrivateBus& bus) : bus_(bus.connect("watch")) {
        bus_.connect(QString(), "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties",
                     "PropertiesChanged", this, SLOT(onChanged(QString, QVariantMap, QStringList)));
    }
    ~Announcements() override { QDBusConnection::disconnectFromBus("watch"); }
    // The names of the properties announced, one entry a signal.
    QStringList changes;
  public slots:
    void onChanged(const QString&, const QVariantMap& changed, const QStringList&) {
        changes << changed.keys().join(',');
    }

  private:
    QDBusConnection bus_;
};

const QString kLong = QStringLiteral(TEST_MEDIA_DIR "/long.flv");
const QString kPlaying = QStringLiteral("Ovelo 2011 Beta2 - 正在播放:");

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            QVERIFY2(!Xdotool({"version"}).isEmpty(), "xdotool is needed");
    }

    void titleNamesTheFileFromTheCommandLine_data() {
        QTest::addColumn<bool>("quoted");
        QTest::newRow("in double quotes") << true;
        QTest::newRow("as words") << false;
    }
    void titleNamesTheFileFromTheCommandLine() {
        QFETCH(bool, quoted);
        Ovelo ovelo;
        const QString path = ovelo.place(kLong, "视频 a&b/影片 'x' 1.flv");
        const QStringList args = quoted ? QStringList{'"' + path + '"'} : path.split(' ');
        QVERIFY(ovelo.start(args));
        QTRY_COMPARE_WITH_TIMEOUT(ovelo.title(ovelo.mainWindow()), kPlaying + path, 10000);
        QVERIFY(ovelo.quit());
        QCOMPARE(ovelo.ini("Media", "Url"), path);
    }

    void playsTheVideoThenShowsTheIdleScreen() {
        Ovelo ovelo;
        QVERIFY(ovelo.start({kLong}));
        QVERIFY(Poll([&] { return Varied(ovelo.video()); }, 10000));
        QVERIFY(ovelo.moves());
        // The file is unloaded a second before its end (12 s): the picture stands still, and
        // the idle screen's pictures show where the video was, not a blank area over them.
        QVERIFY(Poll([&] { return ovelo.still(); }, 14000));
        QVERIFY(Poll([&] { return Varied(ovelo.video()); }, 3000));
        QVERIFY(ovelo.quit());
        QCOMPARE(ovelo.ini("Media", "Url"), QString());
    }

    void shortcutPausesAndResumes() {
        Ovelo ovelo;
        QVERIFY(ovelo.start({kLong}));
        QVERIFY(ovelo.moves());
        ovelo.key(ovelo.mainWindow(), "space");
        QVERIFY(Poll([&] { return ovelo.still(); }, 3000));
        QVERIFY(ovelo.still()); // and stays still
        ovelo.key(ovelo.mainWindow(), "space");
        QVERIFY(ovelo.moves(3000));
        QVERIFY(ovelo.quit());
    }

    void closingKeepsThePlaceAndResumeReturnsThere() {
        PrivateBus bus;
        Ovelo ovelo;
        ovelo.setEnvironment("DBUS_SESSION_BUS_ADDRESS", bus.address());
        ovelo.setIni("Config", "Sound", "35");
        QVERIFY(ovelo.start({kLong}));
        QVERIFY(ovelo.moves());
        QVERIFY(Poll([&] { return Playerctl(bus, {"position"}).toDouble() > 2.0; }, 10000));
        QVERIFY(ovelo.quit());
        const double saved = ovelo.ini("Media", "Time").toDouble();
        QVERIFY2(saved > 1.5 && saved < 8, qPrintable(ovelo.ini("Media", "Time")));
        QCOMPARE(ovelo.ini("Media", "Url"), kLong);
        QCOMPARE(ovelo.ini("Config", "Sound"), QString("35"));
        QVERIFY(ovelo.ini("Load", "H").toInt() > 0 && ovelo.ini("Load", "W").toInt() > 0);

        QVERIFY(ovelo.start());
        ovelo.key(ovelo.mainWindow(), "ctrl+r");
        QTRY_COMPARE_WITH_TIMEOUT(ovelo.title(ovelo.mainWindow()), kPlaying + kLong, 10000);
        QVERIFY(ovelo.moves());
        QVERIFY(ovelo.quit());
        const double resumed = ovelo.ini("Media", "Time").toDouble();
        QVERIFY2(resumed >= std::floor(saved) - 1 && resumed < saved + 6,
                 qPrintable(ovelo.ini("Media", "Time")));
    }

    void fullScreenAndBack() {
        PrivateBus bus;
        Ovelo ovelo;
        ovelo.setEnvironment("DBUS_SESSION_BUS_ADDRESS", bus.address());
        QVERIFY(ovelo.start({kLong}));
        QVERIFY(ovelo.moves());
        // A second in, so the place handed to full screen and back is one.
        QVERIFY(Poll([&] { return Playerctl(bus, {"position"}).toDouble() >= 1.0; }, 10000));
        ovelo.key(ovelo.mainWindow(), "ctrl+a");
        const WId fullScreen = ovelo.window("^Form3$");
        QVERIFY(fullScreen);
        QVERIFY(ovelo.window("^ESC$"));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(QGuiApplication::primaryScreen()->grabWindow(fullScreen).size(),
                     screen.size());
        // Full screen plays: its picture moves.
        QVERIFY(ovelo.moves(5000, fullScreen));
        ovelo.click(fullScreen, screen.center()); // the banner had the keys
        ovelo.key(fullScreen, "Escape");
        QVERIFY(Poll([&] { return !ovelo.shows("^Form3$"); }, 3000));
        QVERIFY(!ovelo.shows("^ESC$"));
        // The main window plays on from where full screen had got to.
        QVERIFY(ovelo.moves(3000));
        QVERIFY(ovelo.quit());
        QVERIFY(ovelo.ini("Media", "Time").toDouble() >= 1.0);
    }

    void bossKeyHidesAndTheTrayBringsTheWindowBack() {
        TrayStandIn tray;
        QVERIFY(tray.open());
        Ovelo ovelo;
        ovelo.setIni("Config", "Sound", "35");
        QVERIFY(ovelo.start({kLong}));
        QTRY_VERIFY_WITH_TIMEOUT(!tray.icons().isEmpty(), 5000);
        QVERIFY(ovelo.moves());
        ovelo.key(ovelo.mainWindow(), "l");
        QVERIFY(Poll([&] { return !ovelo.shows("Ovelo"); }, 3000));
        // 主界面, the tray menu's first item. The menu is up when the program shows a window it
        // did not show before; a count would miss it when a tooltip goes as the menu comes.
        const QStringList before = ovelo.visible();
        ovelo.click(tray.icons().last(), {12, 12}, 3);
        QStringList now;
        const bool menuUp = Poll(
            [&] {
                now = ovelo.visible();
                return std::any_of(now.cbegin(), now.cend(),
                                   [&](const QString& w) { return !before.contains(w); });
            },
            5000);
        QVERIFY2(menuUp, qPrintable(QString("windows before the click: %1; after: %2; icons: %3")
                                        .arg(before.join(' '), now.join(' '))
                                        .arg(tray.icons().size())));
        Xdotool({"key", "Down", "Return"});
        QVERIFY(ovelo.window("Ovelo"));
        // The volume the boss key had taken away is back: the close writes it.
        QVERIFY(ovelo.quit());
        QCOMPARE(ovelo.ini("Config", "Sound"), QString("35"));
    }

    void mediaControlsDriveItAndTheScreenStaysOnWhilePlaying() {
        PrivateBus bus;
        StandInScreenSaver screenSaver(bus);
        Announcements announced(bus);
        Ovelo ovelo;
        ovelo.setEnvironment("DBUS_SESSION_BUS_ADDRESS", bus.address());
        QVERIFY(ovelo.start({kLong}));
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 1, 10000);
        QCOMPARE(Playerctl(bus, {"metadata", "xesam:title"}), QString("long.flv"));
        QVERIFY(Poll([&] { return Playerctl(bus, {"status"}) == QString("Playing"); }, 5000));
        // Steady playback is no news to the desktop, once the start has been told.
        QTRY_VERIFY(announced.changes.join(',').contains("PlaybackStatus"));
        // The start has been told once the length is known, the last of it.
        QVERIFY(Poll(
            [&] {
                return !Playerctl(bus, {"metadata", "mpris:length"}).isEmpty();
            },
            5000));
        const qsizetype before = announced.changes.size();
        // Nothing happens: the program looks at its player five times a second, so a second
        // of playback would carry five announcements of anything it told at every look.
        // A call that fails under load reads as 0: the furthest position read counts.
        double from = 0, reached = 0;
        QVERIFY(QTest::qWaitFor(
            [&] { return (from = Playerctl(bus, {"position"}).toDouble()) > 0; }, 5000));
        QVERIFY(QTest::qWaitFor(
            [&] {
                reached = std::max(reached, Playerctl(bus, {"position"}).toDouble());
                return reached >= from + 1.0;
            },
            5000));
        const QStringList during = announced.changes.mid(before);
        QVERIFY2(during.size() <= 1, qPrintable(during.join(" | ")));

        Playerctl(bus, {"play-pause"});
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 0, 1000);
        QCOMPARE(Playerctl(bus, {"status"}), QString("Paused"));
        QVERIFY(ovelo.still());
        Playerctl(bus, {"play-pause"});
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 1, 1000);
        QVERIFY(ovelo.moves(3000));

        // The boss key hides the window: the screen may rest; Raise brings it back.
        ovelo.key(ovelo.mainWindow(), "l");
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 0, 1000);
        QVERIFY(!ovelo.shows("Ovelo"));
        CallMpris(bus, "org.mpris.MediaPlayer2.Raise");
        QVERIFY(ovelo.window("Ovelo", 3000));
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 1, 1000);

        Playerctl(bus, {"stop"});
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 0, 1000);
        QVERIFY(ovelo.quit());
        QCOMPARE(screenSaver.held(), 0);
    }

    void theScreenMayRestAtTheEndOfTheFileAndAfterExit() {
        PrivateBus bus;
        StandInScreenSaver screenSaver(bus);
        Ovelo ovelo;
        ovelo.setEnvironment("DBUS_SESSION_BUS_ADDRESS", bus.address());
        const QString shortFile = QStringLiteral(TEST_MEDIA_DIR "/sorenson_mp3.flv");
        QVERIFY(ovelo.start({shortFile}));
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 0, 6000);
        Playerctl(bus, {"open", QUrl::fromLocalFile(shortFile).toString()});
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.held(), 1, 10000);
        QVERIFY(ovelo.quit());
        QCOMPARE(screenSaver.held(), 0);
    }

    void playsOnWayland() {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            QSKIP("runs under a Wayland compositor (the endtoend_wayland test)");
        PrivateBus bus;
        Ovelo ovelo;
        ovelo.setEnvironment("DBUS_SESSION_BUS_ADDRESS", bus.address());
        ovelo.setEnvironment("QT_QPA_PLATFORM", "wayland");
        const QString sample = ovelo.folder() + "/sample.flv";
        QVERIFY(ovelo.launch({sample}));
        QVERIFY(Poll([&] { return Playerctl(bus, {"status"}) == QString("Playing"); }, 10000));
        QTRY_VERIFY_WITH_TIMEOUT(Colourful(WaylandScreen()), 5000);
        const QImage frame = WaylandScreen();
        QTRY_VERIFY_WITH_TIMEOUT(Differ(frame, WaylandScreen()), 3000);
        CallMpris(bus, "org.mpris.MediaPlayer2.Quit");
        QVERIFY(ovelo.ended());
        QCOMPARE(ovelo.ini("Media", "Url"), sample);
        QVERIFY(ovelo.ini("Media", "Time").toDouble() > 0);
    }

    void settingsChangedTakeEffectAfterARestart() {
        Ovelo ovelo;
        ovelo.setIni("Config", "AutoSave", "on");
        QVERIFY(ovelo.start());
        ovelo.key(ovelo.mainWindow(), "ctrl+s");
        const WId settings = ovelo.window("^全局设置$");
        QVERIFY(settings);
        ovelo.click(settings, {40, 64});   // 自动保存播放进度
        ovelo.click(settings, {204, 196}); // 确定
        const WId done = ovelo.window("^设置$");
        QVERIFY(done);
        ovelo.key(done, "Return");
        QTRY_COMPARE(ovelo.ini("Config", "AutoSave"), QString("off"));
        QVERIFY(ovelo.quit());

        QVERIFY(ovelo.start());
        ovelo.key(ovelo.mainWindow(), "ctrl+r");
        // Resuming is off now: the program says so instead of resuming.
        QVERIFY(ovelo.window("^警告$"));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
