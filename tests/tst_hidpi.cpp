// The main window on a screen of normal and of double density (run at both by CTest): the
// layout in twips is the same, and the pictures on the screen are drawn at the screen's pixels,
// not enlarged from smaller ones.
#include "mainwindow/mainwindow.h"
#include "mainwindow/playbackcontroller.h"
#include "platform/programfolder.h"
#include "shell/programwindows.h"
#include "testguards.h"
#include "windows/coordinator.h"

#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace ovelo;

namespace {

// The share of pixels, 0 to 1, that two pictures of one size show clearly apart.
double Differing(const QImage& one, const QImage& other) {
    const QImage a = one.convertToFormat(QImage::Format_RGB32);
    const QImage b = other.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return 1;
    qint64 apart = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            apart += std::max({qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                               qAbs(qBlue(p) - qBlue(q))}) > 24;
        }
    return double(apart) / (a.width() * a.height());
}

// The widget drawn at one pixel a point and enlarged to `size`: what a blurred screen shows.
QImage Enlarged(QWidget* w, QSize size) {
    QPixmap small(w->size());
    small.setDevicePixelRatio(1);
    w->render(&small);
    return small.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

class TestHighDensity : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir folder_;
    std::optional<testing::ProgramFolderForTesting> programFolder_;
    WindowCoordinator windows_;
    std::unique_ptr<MainWindow> window_;

    QImage onScreen(QWidget* w) const {
        const QPoint at = w->mapTo(window_.get(), QPoint(0, 0));
        return window_->screen()
            ->grabWindow(window_->winId(), at.x(), at.y(), w->width(), w->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The button on the screen is the button drawn at the screen's pixels, and far from the
    // same drawn at one pixel a point and enlarged.
    void checkSharp(const char* name) {
        auto* button = window_->findChild<QToolButton*>(name);
        QVERIFY(button);
        const QImage shown = onScreen(button);
        const QImage drawn = button->grab().toImage();
        QCOMPARE(shown.size(), drawn.size());
        const double difference = Differing(shown, drawn);
        QVERIFY2(difference < 0.005, qPrintable(QString::number(difference)));
        if (window_->devicePixelRatioF() > 1) {
            const double blurred = Differing(shown, Enlarged(button, shown.size()));
            QVERIFY2(blurred > 0.01, qPrintable(QString::number(blurred)));
        }
    }

  private slots:
    void initTestCase() {
        programFolder_.emplace(folder_.path());
        window_ = std::make_unique<MainWindow>(windows_);
        RegisterProgramWindows(windows_);
        windows_.setMain(&window_->controller());
        window_->setGeometry(QRect(QPoint(0, 0), window_->size()));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanupTestCase() {
        window_.reset();
        programFolder_.reset();
    }

    void twipsAreMeasuredOnTheLogicalDpi() {
        QCOMPARE(window_->logicalDpiX(), 96);
        const qreal ratio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? 2.0 : 1.0;
        QCOMPARE(window_->devicePixelRatioF(), ratio);
        const struct {
            const char* name;
            const char* tag;
        } recorded[] = {{"flv", "0 0 9975 4935 "},
                        {"Sl1", "0 4920 9855 375 "},
                        {"Command1", "3840 5280 735 615 "},
                        {"S1", "0 5985 9915 375 "},
                        {"Picture4", "4080 1200 2055 1815 "}};
        for (const auto& r : recorded) {
            auto* control = window_->findChild<QWidget*>(r.name);
            QVERIFY(control);
            QCOMPARE(control->property("Tag").toString(), QString(r.tag));
        }
        auto* client = window_->centralWidget();
        QCOMPARE(client->property("BaseScaleWidth").toInt(), 9915);
        QCOMPARE(client->property("BaseScaleHeight").toInt(), 6360);
    }

    void picturesAreDrawnAtTheScreensPixels() {
        for (const char* button : {"Command1", "Command3", "Picture2", "Picture4"})
            checkSharp(button);
    }
};

QTEST_MAIN(TestHighDensity)
#include "tst_hidpi.moc"
