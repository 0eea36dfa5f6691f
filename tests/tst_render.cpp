// The picture reaches the screen: a grab of the control shows the test pattern, not black.
#include "fullscreenwindow.h"
#include "velmoracontrol.h"

#include <QOpenGLWidget>
#include <QSignalSpy>
#include <QtTest>

using namespace flv;

namespace {

// The test pattern has many colour bars; a black or blank picture has one colour.
int ColoursIn(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8)
            colours.insert(image.pixelColor(x, y).rgb() & 0xF0F0F0);
    return colours.size();
}

void WaitForProgress(VelmoraControl* control) {
    const float before = control->CurrentTime();
    QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > before + 0.3f, 5000);
    QTest::qWait(200);
}

} // namespace

class TestRender : public QObject {
    Q_OBJECT
  private slots:
    void grabShowsThePattern() {
        QWidget window;
        window.setGeometry(50, 50, 480, 360);
        auto* control = new VelmoraControl(&window);
        control->setGeometry(0, 0, 480, 360);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const bool gl = control->findChild<QOpenGLWidget*>() != nullptr;
        QCOMPARE(gl, qgetenv("OVELO_VIDEO") == "gl");
        QSignalSpy states(control, &VelmoraControl::OnReadyStateChange);
        control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
        QTRY_COMPARE_WITH_TIMEOUT(states.count(), 2, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 1.0f, 10000);
        QTest::qWait(200);
        const QImage image = control->grab().toImage();
        if (!qEnvironmentVariableIsEmpty("OVELO_GRAB"))
            image.save(qEnvironmentVariable("OVELO_GRAB"));
        QSet<QRgb> colours;
        int bright = 0;
        for (int y = 0; y < image.height(); y += 8)
            for (int x = 0; x < image.width(); x += 8) {
                const QColor c = image.pixelColor(x, y);
                colours.insert(c.rgb() & 0xF0F0F0);
                if (c.value() > 100)
                    ++bright;
            }
        // The test pattern has many colour bars; a black or blank picture has one colour.
        QVERIFY2(colours.size() > 8, qPrintable(QString::number(colours.size())));
        QVERIFY(bright > 100);
        control->StopMovie();
    }

    void fullScreenRoundTripKeepsVideo() {
        QWidget window;
        window.setGeometry(50, 50, 480, 360);
        auto* control = new VelmoraControl(&window);
        control->setGeometry(0, 0, 480, 360);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
        QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 1.0f, 10000);

        control->SetFullScreen(true);
        FullScreenWindow* fs = control->fullScreenWindow();
        QVERIFY(QTest::qWaitForWindowExposed(fs));
        QCOMPARE(fs->size(), fs->screen()->geometry().size());
        WaitForProgress(control);
        const QImage full = fs->grab().toImage();
        if (!qEnvironmentVariableIsEmpty("OVELO_GRAB"))
            full.save(qEnvironmentVariable("OVELO_GRAB") + ".full.png");
        QVERIFY2(ColoursIn(full) > 8, "video shows in full screen");

        QTest::keyClick(control->picture1(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!control->FullScreen(), 1000);
        QCOMPARE(control->size(), QSize(480, 360));
        WaitForProgress(control);
        const QImage back = control->grab().toImage();
        QVERIFY2(ColoursIn(back) > 8, "video shows back in the window");
        control->StopMovie();
    }

    void keepsAspectWithBarsInBackColorAndSurvivesAMove() {
        QWidget window;
        window.setGeometry(50, 50, 640, 240);
        auto* control = new VelmoraControl(&window);
        control->setGeometry(0, 0, 640, 240);
        control->SetBackColor(0x000000FF); // red, as 0x00BBGGRR
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy states(control, &VelmoraControl::OnReadyStateChange);
        control->PlayMovie(TEST_MEDIA_DIR "/long.flv");
        QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > 1.0f, 10000);
        QTest::qWait(200);
        QImage image = control->grab().toImage();
        // 320x240 in 640x240: the picture is 320 wide and centred, red bars either side.
        QCOMPARE(image.pixelColor(20, 120).rgb() & 0xF0F0F0, QColor(Qt::red).rgb() & 0xF0F0F0);
        QCOMPARE(image.pixelColor(620, 120).rgb() & 0xF0F0F0, QColor(Qt::red).rgb() & 0xF0F0F0);
        // Into another top-level window and back, as the full-screen switch does.
        QWidget other;
        other.setGeometry(100, 100, 640, 240);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        for (QWidget* host : {&other, &window}) {
            control->setParent(host);
            control->setGeometry(0, 0, 640, 240);
            control->show();
            const float before = control->CurrentTime();
            QTRY_VERIFY_WITH_TIMEOUT(control->CurrentTime() > before + 0.3f, 5000);
            QTest::qWait(200);
            image = control->grab().toImage();
            QSet<QRgb> colours;
            for (int x = 170; x < 470; x += 6)
                colours.insert(image.pixelColor(x, 60).rgb() & 0xF0F0F0);
            QVERIFY2(colours.size() > 5, "video still shows after the move");
        }
    }
};

QTEST_MAIN(TestRender)
#include "tst_render.moc"
