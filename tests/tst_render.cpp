// The picture reaches the screen: a grab of the control shows the test pattern, not black.
#include "controlfullscreenwindow.h"
#include "desktoptools.h"
#include "logo.h"
#include "movie/videosurface.h"
#include "movie/x11videowindow.h"
#include "testguards.h"
#include "velmoracontrol.h"

#include <QOpenGLWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <xcb/xcb.h>

using namespace flv;
using ovelo::testing::Poll;

namespace {

// The test pattern has many colour bars; a black or blank picture has one colour.
int ColoursIn(const QImage& image, int* bright = nullptr) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8) {
            const QColor c = image.pixelColor(x, y);
            colours.insert(c.rgb() & 0xF0F0F0);
            if (bright && c.value() > 100)
                ++*bright;
        }
    return colours.size();
}

// mpv leaves the fourth byte of its pixels undefined; whatever reads it (a grab, a Wayland
// compositor) must find every pixel opaque, or the picture blends with what lies behind it.
int TranslucentPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) != 255;
    return count;
}

// Frames flow: what is shown next comes from the player as it is now.
void WaitForProgress(VelmoraControl* control) {
    const float before = control->CurrentTime();
    QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > before + 0.3f, 5000);
}

bool PictureInAWindow() {
    return ChooseSurfaceKind() == SurfaceKind::X11Window;
}

// What the screen shows of the widget, one pixel a logical pixel. A picture mpv draws into a
// window of its own is in the widget's drawing nowhere but on the screen.
QImage Grab(QWidget* widget) {
    if (!PictureInAWindow())
        return widget->grab().toImage();
    QWidget* top = widget->window();
    const qreal ratio = widget->devicePixelRatioF();
    const QRect area(widget->mapTo(top, QPoint(0, 0)) * ratio, widget->size() * ratio);
    return widget->screen()->grabWindow(top->winId()).toImage().copy(area).scaled(widget->size());
}

void SaveGrab(const QImage& image, const QString& suffix = {}) {
    if (!qEnvironmentVariableIsEmpty("OVELO_GRAB"))
        image.save(qEnvironmentVariable("OVELO_GRAB") + suffix);
}

// The grab shows the test pattern. A frame reaches the widget a little after the player has
// moved on, so tests ask this again until it holds.
bool ShowsPattern(QWidget* widget, const QString& grabSuffix = {}) {
    const QImage image = Grab(widget);
    SaveGrab(image, grabSuffix);
    return ColoursIn(image) > 8;
}

// A shown window whose control plays the long test file.
struct Playing {
    explicit Playing(QSize size, quint32 backColor = 0) {
        window.setGeometry(QRect(QPoint(50, 50), size));
        control = new VelmoraControl(&window);
        control->setGeometry(QRect(QPoint(0, 0), size));
        control->SetBackColor(backColor);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        states = std::make_unique<QSignalSpy>(control, &VelmoraControl::OnReadyStateChange);
        control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
        QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 1.0f, 10000);
    }
    ~Playing() { control->StopMovie(); }
    QWidget window;
    VelmoraControl* control = nullptr;
    std::unique_ptr<QSignalSpy> states;
};

} // namespace

class TestRender : public QObject {
    Q_OBJECT
  private slots:
    void grabShowsThePattern() {
        Playing p({480, 360});
        const bool gl = p.control->findChild<QOpenGLWidget*>() != nullptr;
        QCOMPARE(gl, qgetenv("OVELO_VIDEO") == "gl");
        QCOMPARE(p.states->count(), 2); // Play at once, Play when the stream starts
        int colours = 0, bright = 0;
        QTRY_VERIFY2_WITH_TIMEOUT(
            [&] {
                const QImage image = Grab(p.control);
                SaveGrab(image);
                bright = 0;
                colours = ColoursIn(image, &bright);
                return colours > 8 && bright > 100;
            }(),
            qPrintable(QString("%1 colours, %2 bright").arg(colours).arg(bright)), 5000);
        if (PictureInAWindow())
            return; // the screen holds the picture, and the screen has no fourth byte
        // Drawn where the fourth byte counts, as on Wayland.
        QWidget* surface = p.control->findChild<QWidget*>("ShockwaveFlash1");
        QVERIFY(surface);
        QImage withAlpha(surface->size(), QImage::Format_ARGB32_Premultiplied);
        withAlpha.fill(Qt::transparent);
        surface->render(&withAlpha);
        QVERIFY(ColoursIn(withAlpha) > 8);
        QCOMPARE(TranslucentPixels(withAlpha), 0);
    }

    void fullScreenRoundTripKeepsVideo() {
        Playing p({480, 360});
        VelmoraControl* control = p.control;
        control->SetFullScreen(true);
        ControlFullScreenWindow* fs = control->fullScreenWindow();
        QVERIFY(QTest::qWaitForWindowExposed(fs));
        QCOMPARE(fs->size(), fs->screen()->geometry().size());
        WaitForProgress(control);
        QVERIFY2(Poll([&] { return ShowsPattern(fs, ".full.png"); }, 5000),
                 "video shows in full screen");

        QTest::keyClick(control->inputArea(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!control->FullScreen(), 1000);
        QCOMPARE(control->size(), QSize(480, 360));
        WaitForProgress(control);
        QVERIFY2(Poll([&] { return ShowsPattern(control); }, 5000),
                 "video shows back in the window");
    }

    void keepsAspectWithBarsInBackColorAndSurvivesAMove() {
        Playing p({640, 240}, 0x000000FF); // red, as 0x00BBGGRR
        VelmoraControl* control = p.control;
        const QRgb red = QColor(Qt::red).rgb() & 0xF0F0F0;
        const auto at = [control](int x, int y) {
            return Grab(control).pixelColor(x, y).rgb() & 0xF0F0F0;
        };
        // 320x240 in 640x240: the picture is 320 wide and centred, red bars either side.
        QVERIFY(Poll([&] { return at(20, 120) == red; }, 5000));
        QVERIFY(Poll([&] { return at(620, 120) == red; }, 5000));
        // Into another top-level window and back, as the full-screen switch does.
        QWidget other;
        other.setGeometry(100, 100, 640, 240);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        for (QWidget* host : {&other, &p.window}) {
            control->setParent(host);
            control->setGeometry(0, 0, 640, 240);
            control->show();
            host->raise(); // the screen shows what is in front
            WaitForProgress(control);
            const auto showsVideo = [control] {
                const QImage image = Grab(control);
                QSet<QRgb> colours;
                for (int x = 170; x < 470; x += 6)
                    colours.insert(image.pixelColor(x, 60).rgb() & 0xF0F0F0);
                return colours.size() > 5;
            };
            QVERIFY2(Poll(showsVideo, 5000), "video still shows after the move");
        }
    }

    // The program loads its file before it shows its window; on OpenGL the picture's render
    // context only comes with the showing, and the file must still play with its picture.
    void fileLoadedBeforeTheWindowShowsPlaysWithItsPicture() {
        QWidget window;
        window.setGeometry(50, 50, 480, 360);
        auto* control = new VelmoraControl(&window);
        control->setGeometry(0, 0, 480, 360);
        QSignalSpy states(control, &VelmoraControl::OnReadyStateChange);
        control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 1.0f, 10000);
        WaitForProgress(control);
        QVERIFY2(Poll([&] { return ShowsPattern(control); }, 5000), "video shows");
        QCOMPARE(states.count(), 2); // Play at once, Play when the stream starts
        control->StopMovie();
    }

    // A seek shows the picture at the new place and plays on from there, on either decoder.
    void seekShowsTheNewPlaceAndPlaysOn() {
        Playing p({480, 360});
        VelmoraControl* control = p.control;
        for (const int target : {9, 3}) {
            control->GotoTime(target);
            QTRY_VERIFY_WITH_TIMEOUT(
                control->CurrentTime() >= target && control->CurrentTime() < target + 1.5f, 5000);
            WaitForProgress(control);
            QVERIFY2(Poll([&] { return ShowsPattern(control); }, 5000),
                     "video shows after the seek");
        }
    }

    // Only the OpenGL surface asks for a hardware decoder, and OVELO_HWDEC turns it off; where
    // none works (llvmpipe, Xvfb) mpv decodes on the CPU, which the other cases here play with.
    void hardwareDecodingOnlyOnOpenGl() {
        const auto hwdec = [](SurfaceKind kind) {
            for (const auto& [name, value] : DecodingOptions(kind))
                if (name == "hwdec")
                    return value;
            return QByteArray();
        };
        {
            ovelo::testing::EnvironmentVariable unset("OVELO_HWDEC", "");
            QCOMPARE(hwdec(SurfaceKind::OpenGL), QByteArray("auto-safe"));
            QCOMPARE(hwdec(SurfaceKind::Software), QByteArray("no"));
            QCOMPARE(hwdec(SurfaceKind::Null), QByteArray("no"));
        }
        ovelo::testing::EnvironmentVariable off("OVELO_HWDEC", "no");
        QCOMPARE(hwdec(SurfaceKind::OpenGL), QByteArray("no"));
        QCOMPARE(hwdec(SurfaceKind::Software), QByteArray("no"));
    }

    // mpv's own X11 output needs an X11 display; elsewhere the software surface stands in.
    // Asked for, or by default where there is no GPU (these X servers have none).
    void x11OutputOnlyOnX11() {
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        const SurfaceKind expected = x11 ? SurfaceKind::X11Window : SurfaceKind::Software;
        for (const QByteArray& asked : {QByteArray("x11"), QByteArray()}) {
            ovelo::testing::EnvironmentVariable forced("OVELO_VIDEO", asked);
            QCOMPARE(ChooseSurfaceKind(), expected);
        }
    }

    // mpv watches the window it is given and takes a map there for its own window's: one that
    // came between mpv making its window and first showing it left the picture black for good.
    // However the surface moves and hides it, that window tells of no map or unmap.
    void windowGivenToMpvNeverReportsAMap() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("X11 only");
        QWidget host;
        host.resize(200, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const auto video = X11VideoWindow::Create({200, 100});
        QVERIFY(video);
        xcb_connection_t* watcher = xcb_connect(nullptr, nullptr);
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(watcher, video->id(), XCB_CW_EVENT_MASK, &mask);
        X11VideoWindow::Sync(watcher);
        video->moveInto(uint32_t(host.winId()), {200, 100});
        video->park();
        video->moveInto(uint32_t(host.winId()), {150, 80});
        video->park();
        X11VideoWindow::Sync(watcher);
        int maps = 0, resizes = 0;
        while (xcb_generic_event_t* e = xcb_poll_for_event(watcher)) {
            const int type = e->response_type & 0x7f;
            maps += type == XCB_MAP_NOTIFY || type == XCB_UNMAP_NOTIFY;
            resizes += type == XCB_CONFIGURE_NOTIFY;
            free(e);
        }
        xcb_disconnect(watcher);
        QCOMPARE(maps, 0);
        QVERIFY(resizes > 0); // mpv follows the size from these
    }

    // Pictures are converted away from the UI thread, at the size shown; a paused picture has
    // no new frames to carry a new size, and must follow the resize all the same.
    void pausedPictureFollowsAResize() {
        Playing p({320, 240}, 0x000000FF);
        VelmoraControl* control = p.control;
        control->PauseMovie();
        QTRY_COMPARE(control->State(), QString("Pause"));
        for (const QSize size : {QSize(640, 240), QSize(160, 240), QSize(480, 360)}) {
            control->setGeometry(QRect(QPoint(0, 0), size));
            const QSize picture = QSize(320, 240).scaled(size, Qt::KeepAspectRatio);
            const QRect target((size.width() - picture.width()) / 2,
                               (size.height() - picture.height()) / 2, picture.width(),
                               picture.height());
            // The pattern fills the picture's rectangle edge to edge, at once or when the
            // frame converted at the new size arrives.
            QTRY_VERIFY2_WITH_TIMEOUT(
                [&] {
                    const QImage image = Grab(control);
                    const QRgb red = QColor(Qt::red).rgb() & 0xF0F0F0;
                    const auto at = [&](int x, int y) { return image.pixel(x, y) & 0xF0F0F0; };
                    return ColoursIn(image.copy(target)) > 8 &&
                           at(target.left() + 2, target.center().y()) != red &&
                           at(target.right() - 2, target.center().y()) != red;
                }(),
                qPrintable(QString("%1x%2").arg(size.width()).arg(size.height())), 3000);
        }
    }

    // Over a picture in a window of its own, the logo is a window above it, shaped to its
    // letters: the letters show in their colours, the video around them.
    // A host may make its window and start the player before it shows that window (the
    // program's main window does, at a start with a file): the player's output opens first,
    // and the picture comes all the same once the window shows.
    void pictureComesWhenTheWindowShowsAfterTheOutputOpened_data() {
        QTest::addColumn<bool>("madeFirst");
        QTest::newRow("window made, not shown") << true;
        QTest::newRow("window not made") << false;
    }
    void pictureComesWhenTheWindowShowsAfterTheOutputOpened() {
        QFETCH(bool, madeFirst);
        if (ChooseSurfaceKind() == SurfaceKind::OpenGL)
            QSKIP("mpv waits for OpenGL to draw each picture: nothing plays in a hidden window");
        QWidget window;
        window.setGeometry(50, 50, 480, 360);
        auto* control = new VelmoraControl(&window);
        control->setGeometry(0, 0, 480, 360);
        if (madeFirst)
            window.winId();
        control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
        QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 0.5f, 10000);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(Poll([&] { return ShowsPattern(control); }, 5000));
        control->StopMovie();
    }

    void logoShowsOverThePicture() {
        if (!PictureInAWindow())
            QSKIP("the logo is drawn with the picture here");
        Playing p({480, 360});
        VelmoraControl* control = p.control;
        QVERIFY(Poll([&] { return ShowsPattern(control); }, 5000));
        const QRegion letters = control->logo()->mask();
        QVERIFY(!letters.isEmpty());
        QVERIFY(letters.boundingRect().width() < control->logo()->width() * 2);
        const auto lettersInTheirColours = [&] {
            const QImage image = Grab(control);
            SaveGrab(image, ".logo.png");
            int inColour = 0, all = 0;
            for (const QRect& r : letters)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x) {
                        const QPoint at = control->logo()->mapTo(control, QPoint(x, y));
                        const QColor c = image.pixelColor(at);
                        // Red, light yellow, or their edges over the background.
                        inColour += c.red() > 0x80 && c.blue() < 0xA0;
                        ++all;
                    }
            return all > 20 && inColour > all * 9 / 10;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(lettersInTheirColours(), "the logo's letters show", 3000);
    }

    // The pointer and keys over the picture reach the control as its own events, from the
    // X server itself: a window of the picture's must not take them.
    void pointerAndKeysOverThePictureReachTheControl() {
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("needs the X server's own input");
        Playing p({480, 360});
        VelmoraControl* control = p.control;
        p.window.activateWindow();
        QTRY_VERIFY(p.window.isActiveWindow());
        QSignalSpy downs(control, &VelmoraControl::MouseDown);
        QSignalSpy clicks(control, &VelmoraControl::Click);
        QSignalSpy doubles(control, &VelmoraControl::DblClick);
        QSignalSpy keys(control, &VelmoraControl::KeyDown);
        // xdotool counts the screen's own pixels.
        const qreal ratio = control->devicePixelRatioF();
        const QPoint centre = control->mapToGlobal(control->rect().center()) * ratio;
        using ovelo::testing::Xdotool;
        Xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())});
        Xdotool({"click", "1"});
        QTRY_COMPARE(clicks.count(), 1);
        QCOMPARE(downs.count(), 1);
        QCOMPARE(downs.first().at(0).value<short>(), short(1));
        Xdotool({"click", "--repeat", "2", "--delay", "40", "1"});
        QTRY_COMPARE(doubles.count(), 1);
        Xdotool({"key", "a"});
        QTRY_COMPARE(keys.count(), 1);
        QCOMPARE(keys.first().at(0).value<short>(), short('A'));
        // Onto one of the logo's letters (a window of its own over a window picture) and off.
        const Logo* logo = control->logo();
        const QRegion letters = logo->mask();
        const QPoint onLogo = logo->mapToGlobal(letters.isEmpty() ? logo->rect().center()
                                                                  : letters.begin()->center()) *
                              ratio;
        QVERIFY(control->PointerOutsideLogo());
        Xdotool({"mousemove", QString::number(onLogo.x()), QString::number(onLogo.y())});
        QTRY_VERIFY(!control->PointerOutsideLogo());
        Xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())});
        QTRY_VERIFY(control->PointerOutsideLogo());
    }

    // The conversion thread starts and stops with each player: players made and dropped while
    // frames are in flight neither crash nor hang, and the last one still shows video.
    void playersComeAndGoWhileFramesFlow() {
        QWidget window;
        window.setGeometry(50, 50, 320, 240);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int round = 0; round < 6; ++round) {
            auto* control = new VelmoraControl(&window);
            control->setGeometry(0, 0, 320, 240);
            control->show();
            control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
            QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 0.2f * (round % 3), 10000);
            if (round == 5) {
                WaitForProgress(control);
                QVERIFY(Poll([&] { return ShowsPattern(control); }, 5000));
            }
            delete control;
        }
    }
};

QTEST_MAIN(TestRender)
#include "tst_render.moc"
