// The desktop's side of the program on a bus of the test's own: the screensaver held off and
// released, and the MPRIS interfaces as a desktop's media controls use them.
#include "player/standinplayer.h"
#include "privatebus.h"
#include "session/mediacommands.h"
#include "session/mpris.h"
#include "session/screensaverinhibitor.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
// Xlib's name for "now" is the player's property.
#undef CurrentTime

using namespace ovelo;
using namespace ovelo::testing;

namespace {

const QString kMprisName = "org.mpris.MediaPlayer2.ovelo";
const QString kPath = "/org/mpris/MediaPlayer2";
const QString kPlayer = "org.mpris.MediaPlayer2.Player";

struct FakePlayer : StandInPlayer {
    QString State() const override { return state; }
    QString Movie() const override { return movie; }
    float CurrentTime() const override { return time; }
    qint32 TotalTime() const override { return total; }
    QString state;
    QString movie;
    float time = 0;
    qint32 total = 0;
};

// The main window as the media controls see it; each command is logged.
struct FakeCommands : MediaCommands {
    const flv::Velmora& mediaPlayer() const override { return player; }
    void togglePlayback() override {
        log << "toggle";
        if (player.state == "Play" || player.state == "Pause")
            player.state = player.state == "Play" ? "Pause" : "Play";
    }
    void stopPlayback() override { log << "stop"; }
    void seekTo(qint32 seconds) override { log << QString("seek %1").arg(seconds); }
    int volumeLevel() const override { return volume; }
    void setVolumeLevel(int level) override { volume = level; }
    void playAddress(const QString& address) override { log << "play " + address; }
    void raiseWindow() override { log << "raise"; }
    void quitProgram() override { log << "quit"; }
    bool videoOnScreen() const override { return IsPlaying(player); }
    void playing(const QString& file, qint32 seconds) {
        player.movie = file;
        player.state = "Play";
        player.total = seconds;
    }

    FakePlayer player;
    QStringList log;
    int volume = 80;
};

// Whether the X server's screensaver has come on.
bool XScreenSaverOn(Display* display) {
    XScreenSaverInfo info{};
    XScreenSaverQueryInfo(display, DefaultRootWindow(display), &info);
    return info.state == ScreenSaverOn;
}

// How long the X server has had no input.
unsigned long IdleMs(Display* display) {
    XScreenSaverInfo info{};
    XScreenSaverQueryInfo(display, DefaultRootWindow(display), &info);
    return info.idle;
}

QVariant Unwrapped(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return Unwrapped(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        QVariantMap map;
        value.value<QDBusArgument>() >> map;
        return map;
    }
    return value;
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
  public:
    TestSession() : program_(bus_.connect("program")), desktop_(bus_.connect("desktop")) {}

  public slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList&) {
        if (interface == kPlayer)
            announced_ << changed;
    }
    void onSeeked(qlonglong position) { seeks_ << position; }
    void onProbe() { ++probes_; }

  private:
    // Called as a desktop calls, through the bus; the service answers on this thread.
    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& args = {}) {
        QDBusMessage m = QDBusMessage::createMethodCall(kMprisName, kPath, interface, method);
        m.setArguments(args);
        return desktop_.call(m, QDBus::BlockWithGui, 5000);
    }
    QVariant property(const QString& name, const QString& interface = kPlayer) {
        const QDBusMessage reply =
            call("org.freedesktop.DBus.Properties", "Get", {interface, name});
        return reply.arguments().isEmpty() ? QVariant() : Unwrapped(reply.arguments().first());
    }
    void setProperty(const QString& name, const QVariant& value) {
        call("org.freedesktop.DBus.Properties", "Set",
             {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata() { return property("Metadata").toMap(); }
    // The bus takes a connection's signal subscriptions in the order they are asked for, but
    // after connect() has returned: one more, probed until its signal arrives, proves that those
    // asked for before it are in force.
    bool subscriptionsInForce() {
        const char* probe = "org.ovelo.test.Probe";
        probes_ = 0;
        desktop_.connect(QString(), kPath, probe, "Probe", this, SLOT(onProbe()));
        const bool arrived = QTest::qWaitFor(
            [&] {
                program_.send(QDBusMessage::createSignal(kPath, probe, "Probe"));
                return probes_ > 0;
            },
            5000);
        desktop_.disconnect(QString(), kPath, probe, "Probe", this, SLOT(onProbe()));
        return arrived;
    }

    PrivateBus bus_;
    QDBusConnection program_;
    QDBusConnection desktop_;
    QList<QVariantMap> announced_;
    QList<qlonglong> seeks_;
    int probes_ = 0;

  private slots:
    void initTestCase() {
        QVERIFY2(!bus_.address().isEmpty(), "dbus-daemon is needed");
        QVERIFY(program_.isConnected() && desktop_.isConnected());
    }

    void screensaverIsHeldWhilePlayingAndReleasedAfter() {
        StandInScreenSaver service(bus_);
        QVERIFY(service.registered());
        auto inhibitor = std::make_unique<ScreenSaverInhibitor>(program_);
        inhibitor->setInhibited(true);
        QTRY_COMPARE(service.held(), 1);
        // Every tick says so again; only a change reaches the desktop.
        for (int i = 0; i < 5; ++i)
            inhibitor->setInhibited(true);
        inhibitor->setInhibited(false);
        QTRY_COMPARE(service.held(), 0);
        QCOMPARE(service.calls().size(), 2);
        QVERIFY(service.calls().first().startsWith("Inhibit("));
        QCOMPARE(service.calls().last(), QString("UnInhibit(1)"));

        // Paused again before the service answered: the late cookie is given back.
        inhibitor->setInhibited(true);
        inhibitor->setInhibited(false);
        QTRY_COMPARE(service.calls().size(), 4);
        QCOMPARE(service.held(), 0);

        // Ending while holding releases before the program goes.
        inhibitor->setInhibited(true);
        QTRY_COMPARE(service.held(), 1);
        inhibitor.reset();
        QCOMPARE(service.held(), 0);
    }

    void screensaverWithoutServiceOrBusIsNoError() {
        ScreenSaverInhibitor noService(program_);
        noService.setInhibited(true);
        // The bus's answer has come when the question's watcher has gone.
        QVERIFY(noService.findChild<QDBusPendingCallWatcher*>());
        QTRY_VERIFY(!noService.findChild<QDBusPendingCallWatcher*>());
        QVERIFY(noService.isInhibited());
        noService.setInhibited(false);
        ScreenSaverInhibitor noBus(QDBusConnection::connectToBus("unix:path=/nonexistent", "x"));
        noBus.setInhibited(true);
        noBus.setInhibited(false);
    }

    void withoutTheServiceTheXServerIsAsked() {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        Display* display = x11 ? x11->display() : nullptr;
        if (!display)
            QSKIP("needs an X server (the session_xvfb test)");
        // A screensaver that comes on after one idle second, off again after the test.
        struct QuickScreenSaver {
            explicit QuickScreenSaver(Display* d) : display(d) {
                XSetScreenSaver(display, 1, 0, DontPreferBlanking, AllowExposures);
            }
            ~QuickScreenSaver() {
                XSetScreenSaver(display, 0, 0, DontPreferBlanking, AllowExposures);
            }
            Display* display;
        } quick(display);
        ScreenSaverInhibitor inhibitor(program_);
        inhibitor.setInhibited(true);
        // The bus has no screensaver: once it has said so, the X server holds it off.
        QTRY_VERIFY(!inhibitor.findChild<QDBusPendingCallWatcher*>());
        // Nothing happens: unheld, the screensaver comes on one idle second after it is set up
        // (about 1.1 s, measured after the release below); the server is idle for 1.5 s.
        QTRY_VERIFY_WITH_TIMEOUT(IdleMs(display) >= 1500, 5000);
        QVERIFY(!XScreenSaverOn(display));
        inhibitor.setInhibited(false);
        QTRY_VERIFY_WITH_TIMEOUT(XScreenSaverOn(display), 5000);
    }

    void mprisNamesTheServiceAndASecondInstanceByItsProcess() {
        FakeCommands first, second;
        MprisService one(first, program_);
        QCOMPARE(one.serviceName(), kMprisName);
        QDBusConnection other = bus_.connect("second");
        {
            MprisService two(second, other);
            QCOMPARE(two.serviceName(),
                     kMprisName + QString(".instance%1").arg(QCoreApplication::applicationPid()));
        }
        QDBusConnection::disconnectFromBus("second");
        QCOMPARE(property("Identity", "org.mpris.MediaPlayer2").toString(), QString("Ovelo"));
        QCOMPARE(property("CanRaise", "org.mpris.MediaPlayer2").toBool(), true);
        MprisService none(first, QDBusConnection::connectToBus("unix:path=/nonexistent", "y"));
        QVERIFY(none.serviceName().isEmpty());
        none.refresh();
    }

    void mprisCommandsAreTheWindowsOwn() {
        FakeCommands window;
        MprisService service(window, program_);
        QCOMPARE(property("PlaybackStatus").toString(), QString("Stopped"));
        window.playing("/videos/a b.flv", 215);
        QCOMPARE(property("PlaybackStatus").toString(), QString("Playing"));
        call(kPlayer, "Play"); // already playing: nothing
        call(kPlayer, "PlayPause");
        QCOMPARE(property("PlaybackStatus").toString(), QString("Paused"));
        call(kPlayer, "Pause"); // already paused: nothing
        call(kPlayer, "Play");
        call(kPlayer, "Stop");
        call("org.mpris.MediaPlayer2", "Raise");
        call(kPlayer, "OpenUri", {QString("file:///videos/c.f4v")});
        QCOMPARE(window.log,
                 QStringList({"toggle", "toggle", "stop", "raise", "play /videos/c.f4v"}));
    }

    void mprisMetadataNamesTheFile() {
        FakeCommands window;
        MprisService service(window, program_);
        QCOMPARE(metadata().value("mpris:trackid").value<QDBusObjectPath>().path(),
                 QString("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
        window.playing("/videos/影片 1.flv", 215);
        service.refresh();
        const QVariantMap data = metadata();
        QCOMPARE(data.value("xesam:title").toString(), QString("影片 1.flv"));
        QCOMPARE(data.value("xesam:url").toString(),
                 QUrl::fromLocalFile("/videos/影片 1.flv").toString());
        QCOMPARE(data.value("mpris:length").toLongLong(), 215000000LL);
        window.playing("http://v.example/video/x.flv?start=0", 0);
        QCOMPARE(metadata().value("xesam:title").toString(), QString("x.flv"));
        QVERIFY(!metadata().contains("mpris:length"));
    }

    void mprisSeeksAndSetsTheVolumeSlider() {
        FakeCommands window;
        MprisService service(window, program_);
        window.playing("/videos/a.flv", 60);
        window.player.time = 3.2f;
        service.refresh();
        QCOMPARE(property("Position").toLongLong(), 3200000LL);
        call(kPlayer, "Seek", {qlonglong(2000000)});
        call(kPlayer, "Seek", {qlonglong(-9000000)});
        call(kPlayer, "Seek", {qlonglong(90000000)}); // past the end: there is no next
        const QVariant track = metadata().value("mpris:trackid");
        call(kPlayer, "SetPosition", {track, qlonglong(42600000)});
        call(kPlayer, "SetPosition",
             {QVariant::fromValue(QDBusObjectPath("/org/ovelo/Ovelo/track/99")), qlonglong(1)});
        QCOMPARE(window.log, QStringList({"seek 5", "seek 0", "seek 43"}));

        QCOMPARE(property("Volume").toDouble(), 0.8);
        setProperty("Volume", 0.35);
        QCOMPARE(window.volume, 35);
        setProperty("Volume", 1.7);
        QCOMPARE(window.volume, 100);
    }

    void mprisTellsOnlyWhatAUserWouldSee() {
        FakeCommands window;
        MprisService service(window, program_);
        announced_.clear();
        seeks_.clear();
        QVERIFY(desktop_.connect(QString(), kPath, "org.freedesktop.DBus.Properties",
                                 "PropertiesChanged", this,
                                 SLOT(onPropertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(
            desktop_.connect(QString(), kPath, kPlayer, "Seeked", this, SLOT(onSeeked(qlonglong))));
        QVERIFY(subscriptionsInForce());
        window.playing("/videos/a.flv", 60);
        service.refresh();
        QTRY_COMPARE(announced_.size(), 1);
        QCOMPARE(announced_.first().value("PlaybackStatus").toString(), QString("Playing"));
        QVERIFY(announced_.first().contains("Metadata"));
        // Steady playback: the position moves with the clock, nothing else does. The refreshes
        // come as the program's do, a few times a second.
        QElapsedTimer clock;
        clock.start();
        const float startedAt = window.player.time;
        for (int i = 0; i < 10; ++i) {
            QTest::qWait(50);
            window.player.time = startedAt + clock.elapsed() / 1000.0f;
            service.refresh();
        }
        window.player.time = 30; // the user dragged the seek slider
        service.refresh();
        window.player.state = "Pause";
        service.refresh();
        QTRY_COMPARE(announced_.size(), 2);
        QCOMPARE(announced_.last().keys(), QStringList({"PlaybackStatus"}));
        QTRY_COMPARE(seeks_, QList<qlonglong>({30000000}));
        desktop_.disconnect(QString(), kPath, "org.freedesktop.DBus.Properties",
                            "PropertiesChanged", this,
                            SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
        desktop_.disconnect(QString(), kPath, kPlayer, "Seeked", this, SLOT(onSeeked(qlonglong)));
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
