// The proportional window layout and the painted button images.
#include "icons/icons.h"
#include "layout/layout.h"
#include "testguards.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>
#include <memory>

using ovelo::PlaceInTwips;
using ovelo::resizeform;
using ovelo::resizeinit;

namespace {

struct Design {
    const char* name;
    int left, top, width, height;
};

// The main window's controls at design, in twips, in creation order.
const Design kDesign[] = {
    {"flv", 0, 0, 9975, 4935},
    {"Sl1", 0, 4920, 9855, 375},
    {"Label1", 7560, 5440, 495, 255},
    {"Command1", 3840, 5280, 735, 615},
    {"Command2", 4680, 5280, 735, 615},
    {"Command3", 5520, 5280, 735, 615},
    {"Cmdplay", 9240, 6240, 1215, 495},
    {"S1", 0, 5985, 9915, 375},
    {"Picture4", 4080, 1200, 2055, 1815},
};
constexpr int kWidth = 9915;
constexpr int kHeight = 6360;

QWidget* Make(const char* name, QWidget* parent) {
    const QByteArray n(name);
    if (n.startsWith("Sl"))
        return new QSlider(Qt::Horizontal, parent);
    if (n.startsWith("Command") || n == "Cmdplay")
        return new QPushButton(parent);
    if (n == "flv")
        return new QWidget(parent);
    return new QLabel(n, parent);
}

// The main window's inner area with its controls placed and recorded.
struct Window {
    QWidget root;
    QList<QWidget*> controls;
    QList<QRect> design; // pixels

    Window() {
        PlaceInTwips(&root, 0, 0, kWidth, kHeight);
        for (const Design& d : kDesign) {
            QWidget* w = Make(d.name, &root);
            w->setObjectName(d.name);
            PlaceInTwips(w, d.left, d.top, d.width, d.height);
            controls.append(w);
            design.append(w->geometry());
        }
        root.findChild<QWidget*>("Cmdplay")->hide();
        resizeinit(&root);
    }
    void ResizeTwips(QSize twips) {
        PlaceInTwips(&root, 0, 0, twips.width(), twips.height());
        resizeform(&root);
    }
    void ResizePixels(QSize pixels) {
        root.resize(pixels);
        resizeform(&root);
    }
};

QRect InTwips(const QWidget* w) {
    const double tx = ovelo::TwipsPerPixelX(w);
    const double ty = ovelo::TwipsPerPixelY(w);
    const QRect g = w->geometry();
    return QRect(qRound(g.x() * tx), qRound(g.y() * ty), qRound(g.width() * tx),
                 qRound(g.height() * ty));
}

QRect Scaled(QRect r, double rx, double ry) {
    return QRect(qRound(r.x() * rx), qRound(r.y() * ry), qRound(r.width() * rx),
                 qRound(r.height() * ry));
}

int Colours(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            seen.insert(image.pixel(x, y));
    return seen.size();
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
    std::optional<ovelo::testing::DefaultLocale> german_;

  private slots:
    void initTestCase() {
        // The exact twips figures below hold at 15 twips a pixel.
        QWidget probe;
        if (ovelo::TwipsPerPixelX(&probe) != 15 || ovelo::TwipsPerPixelY(&probe) != 15)
            QSKIP("the screen is not at 96 dpi");
        // Tag numbers must not follow the user's locale.
        german_.emplace(QLocale::German);
    }
    void cleanupTestCase() { german_.reset(); }

    void records_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("tag");
        QTest::newRow("play button") << "Command1"
                                     << "3840 5280 735 615 ";
        QTest::newRow("video") << "flv"
                               << "0 0 9975 4935 ";
        QTest::newRow("hidden button") << "Cmdplay"
                                       << "9240 6240 1215 495 ";
        // 5440 twips is 362.67 pixels: what is recorded is where the label really is.
        QTest::newRow("off-pixel design") << "Label1"
                                          << "7560 5445 495 255 ";
    }
    void records() {
        QFETCH(QString, control);
        QFETCH(QString, tag);
        Window w;
        QCOMPARE(w.root.findChild<QWidget*>(control)->property("Tag"), QVariant(tag));
        QCOMPARE(w.root.property("BaseScaleWidth"), QVariant(kWidth));
        QCOMPARE(w.root.property("BaseScaleHeight"), QVariant(kHeight));
    }

    void scales_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("play");
        QTest::addColumn<double>("rx");
        QTest::addColumn<double>("ry");
        QTest::newRow("design") << QSize(kWidth, kHeight) << QRect(3840, 5280, 735, 615) << 1.0
                                << 1.0;
        QTest::newRow("doubled") << QSize(2 * kWidth, 2 * kHeight) << QRect(7680, 10560, 1470, 1230)
                                 << 2.0 << 2.0;
        QTest::newRow("twice as wide")
            << QSize(2 * kWidth, kHeight) << QRect(7680, 5280, 1470, 615) << 2.0 << 1.0;
        QTest::newRow("twice as high")
            << QSize(kWidth, 2 * kHeight) << QRect(3840, 10560, 735, 1230) << 1.0 << 2.0;
        QTest::newRow("minimized") << QSize(0, 0) << QRect(0, 0, 0, 0) << 0.0 << 0.0;
    }
    void scales() {
        QFETCH(QSize, window);
        QFETCH(QRect, play);
        QFETCH(double, rx);
        QFETCH(double, ry);
        Window w;
        QList<QRect> recorded;
        for (QWidget* c : w.controls)
            recorded.append(InTwips(c));
        w.ResizeTwips(window);
        QCOMPARE(InTwips(w.root.findChild<QWidget*>("Command1")), play);
        for (int i = 0; i < w.controls.size(); ++i)
            QCOMPARE(InTwips(w.controls[i]), Scaled(recorded[i], rx, ry));
    }

    void returns_to_design_data() {
        QTest::addColumn<QList<QSize>>("path");
        QTest::newRow("odd sizes") << QList<QSize>{{641, 437}, {1322, 424}, {333, 999}, {7, 3}};
        QTest::newRow("minimized") << QList<QSize>{{0, 0}};
        QTest::newRow("minimized after growing") << QList<QSize>{{1200, 900}, {0, 0}, {0, 0}};
        QTest::newRow("one pixel") << QList<QSize>{{1, 1}, {662, 425}, {660, 423}};
    }
    void returns_to_design() {
        QFETCH(QList<QSize>, path);
        Window w;
        const QSize design = w.root.size();
        for (int round = 0; round < 50; ++round)
            for (QSize size : path)
                w.ResizePixels(size);
        w.ResizePixels(design);
        for (int i = 0; i < w.controls.size(); ++i)
            QCOMPARE(w.controls[i]->geometry(), w.design[i]);
    }

    void damaged_tags_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QRect>("expected"); // twips, in the doubled window
        const QRect unchanged(15, 15, 15, 15);
        QTest::newRow("no space") << "abc" << QRect(0, 0, 0, 0);
        QTest::newRow("empty") << "" << QRect(0, 0, 0, 0);
        QTest::newRow("one space") << "150 20" << QRect(300, 0, 0, 0);
        QTest::newRow("not a number") << "abc 300 450 600 " << QRect(0, 600, 900, 1200);
        QTest::newRow("decimal point") << "75 150 30.5 45 " << QRect(150, 300, 60, 90);
        QTest::newRow("negative size") << "150 150 -15 15 " << unchanged;
        QTest::newRow("beyond pixels") << "1e300 0 15 15 " << unchanged;
    }
    void damaged_tags() {
        QFETCH(QString, tag);
        QFETCH(QRect, expected);
        Window w;
        auto* damaged = new QWidget(&w.root);
        PlaceInTwips(damaged, 15, 15, 15, 15);
        damaged->setProperty("Tag", tag);
        damaged->lower(); // first in the collection, before any field was read
        w.ResizeTwips(QSize(2 * kWidth, 2 * kHeight));
        QCOMPARE(InTwips(damaged), expected);
        for (int i = 0; i < w.controls.size(); ++i)
            QCOMPARE(w.controls[i]->geometry(), Scaled(w.design[i], 2, 2));
    }

    void leaves_non_controls() {
        Window w;
        auto* action = new QAction("mo", &w.root);
        auto* timer = new QTimer(&w.root);
        timer->start(100);
        auto* popup = new QWidget(&w.root, Qt::Window);
        popup->setGeometry(40, 50, 60, 70);
        resizeinit(&w.root);
        auto* late = new QWidget(&w.root);
        late->setGeometry(5, 6, 7, 8);
        w.ResizeTwips(QSize(2 * kWidth, 2 * kHeight));
        QVERIFY(!action->property("Tag").isValid());
        QVERIFY(!timer->property("Tag").isValid());
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 100);
        QVERIFY(!popup->property("Tag").isValid());
        QCOMPARE(popup->geometry(), QRect(40, 50, 60, 70));
        QCOMPARE(late->geometry(), QRect(5, 6, 7, 8));
    }

    void pictures_data() {
        QTest::addColumn<QPixmap>("picture");
        QTest::addColumn<QSize>("size");
        const QSize button(49, 41), idle(33, 33), logo(137, 121), banner(89, 25);
        QTest::newRow("play") << ovelo::PlayIcon().pixmap(button) << button;
        QTest::newRow("pause") << ovelo::PauseIcon().pixmap(button) << button;
        QTest::newRow("stop") << ovelo::StopIcon().pixmap(button) << button;
        QTest::newRow("open file") << ovelo::OpenFilePicture(idle) << idle;
        QTest::newRow("open url") << ovelo::OpenUrlPicture(idle) << idle;
        QTest::newRow("online") << ovelo::OnlinePicture(logo) << logo;
        QTest::newRow("settings") << ovelo::SettingsPicture(idle) << idle;
        QTest::newRow("skin") << ovelo::SkinPicture(idle) << idle;
        QTest::newRow("banner") << ovelo::BannerPicture(banner) << banner;
        const QSize about(425, 137), knowledge(457, 81);
        QTest::newRow("about") << ovelo::AboutBanner(about) << about;
        QTest::newRow("about notice") << ovelo::AboutNoticePicture(idle) << idle;
        QTest::newRow("about web") << ovelo::AboutWebPicture(idle) << idle;
        QTest::newRow("knowledge") << ovelo::KnowledgeBanner(knowledge, "F4V") << knowledge;
    }
    void pictures() {
        QFETCH(QPixmap, picture);
        QFETCH(QSize, size);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
        QVERIFY(Colours(picture.toImage()) > 2);
    }

    void icons_scale_and_dim_data() {
        QTest::addColumn<QIcon>("icon");
        QTest::newRow("play") << ovelo::PlayIcon();
        QTest::newRow("pause") << ovelo::PauseIcon();
        QTest::newRow("stop") << ovelo::StopIcon();
    }
    void icons_scale_and_dim() {
        QFETCH(QIcon, icon);
        const QPixmap sharp = icon.pixmap(QSize(32, 32), 2.0);
        QCOMPARE(sharp.size(), QSize(64, 64));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        const QImage normal = icon.pixmap(QSize(32, 32), 1.0).toImage();
        QVERIFY(icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).toImage() != normal);
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
