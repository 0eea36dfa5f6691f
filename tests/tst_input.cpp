// Input over the video reaches the host as the control's events; the logo; the full screen.
#include "controlfullscreenwindow.h"
#include "inputrelay.h"
#include "keycodes.h"
#include "logo.h"
#include "movie/movieengine.h"
#include "openedurls.h"
#include "twips.h"
#include "velmoracontrol.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace flv;

namespace {

class SilentEngine : public MovieEngine {
  public:
    QString Call(const QString&, const QStringList&) override { return {}; }
    void SetBGColor(const QString&) override {}
    QWidget* Surface() override { return nullptr; }
};

// A shown control over a silent engine, with the pages it opens recorded.
struct Stage {
    Stage() {
        window.resize(640, 480);
        control = new VelmoraControl(&window, [](QObject*) { return new SilentEngine; });
        control->setGeometry(0, 0, 600, 450);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QWidget* inputArea() const { return control->inputArea(); }
    QRect logo() const { return control->logo()->geometry(); }
    void move(QPoint p, Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers mods = {}) {
        QMouseEvent e(QEvent::MouseMove, p, inputArea()->mapToGlobal(p), Qt::NoButton, held, mods);
        QApplication::sendEvent(inputArea(), &e);
    }
    QWidget window;
    VelmoraControl* control = nullptr;
    OpenedUrls opened;
};

double Tpp() {
    QWidget w;
    return TwipsPerPixel(&w);
}

} // namespace

class TestInput : public QObject {
    Q_OBJECT
  private slots:
    void keyCodeTable_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        const int none = Qt::NoModifier, shift = Qt::ShiftModifier, pad = Qt::KeypadModifier;
        QTest::newRow("A") << int(Qt::Key_A) << none << 65;
        QTest::newRow("shift P") << int(Qt::Key_P) << shift << 80;
        QTest::newRow("Z") << int(Qt::Key_Z) << none << 90;
        QTest::newRow("0") << int(Qt::Key_0) << none << 48;
        QTest::newRow("9") << int(Qt::Key_9) << none << 57;
        QTest::newRow("shift 1 types !") << int(Qt::Key_Exclam) << shift << 49;
        QTest::newRow("space") << int(Qt::Key_Space) << none << 32;
        QTest::newRow("enter") << int(Qt::Key_Return) << none << 13;
        QTest::newRow("pad enter") << int(Qt::Key_Enter) << pad << 13;
        QTest::newRow("esc") << int(Qt::Key_Escape) << none << 27;
        QTest::newRow("alt") << int(Qt::Key_Alt) << none << 18;
        QTest::newRow("shift") << int(Qt::Key_Shift) << shift << 16;
        QTest::newRow("ctrl") << int(Qt::Key_Control) << none << 17;
        QTest::newRow("meta") << int(Qt::Key_Meta) << none << 91;
        QTest::newRow("left windows") << int(Qt::Key_Super_L) << none << 91;
        QTest::newRow("right windows") << int(Qt::Key_Super_R) << none << 92;
        QTest::newRow("left") << int(Qt::Key_Left) << none << 37;
        QTest::newRow("up") << int(Qt::Key_Up) << none << 38;
        QTest::newRow("right") << int(Qt::Key_Right) << none << 39;
        QTest::newRow("down") << int(Qt::Key_Down) << none << 40;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 112;
        QTest::newRow("F12") << int(Qt::Key_F12) << none << 123;
        QTest::newRow("home") << int(Qt::Key_Home) << none << 36;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << none << 34;
        QTest::newRow("delete") << int(Qt::Key_Delete) << none << 46;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << 8;
        QTest::newRow("pad 5") << int(Qt::Key_5) << pad << 101;
        QTest::newRow("pad +") << int(Qt::Key_Plus) << pad << 107;
        QTest::newRow("main +") << int(Qt::Key_Plus) << shift << 187;
        QTest::newRow("minus") << int(Qt::Key_Minus) << none << 189;
        QTest::newRow("comma") << int(Qt::Key_Comma) << none << 188;
        QTest::newRow("slash") << int(Qt::Key_Slash) << none << 191;
        QTest::newRow("bracket") << int(Qt::Key_BracketLeft) << none << 219;
        QTest::newRow("quote") << int(Qt::Key_Apostrophe) << none << 222;
        QTest::newRow("unknown") << int(Qt::Key_Launch0) << none << 0;
    }
    void keyCodeTable() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        QCOMPARE(int(VirtualKeyCode(key, Qt::KeyboardModifiers(modifiers))), code);
    }

    void masks() {
        QCOMPARE(ShiftMask(Qt::ShiftModifier), short(1));
        QCOMPARE(ShiftMask(Qt::ControlModifier | Qt::AltModifier), short(6));
        QCOMPARE(ShiftMask(Qt::MetaModifier | Qt::KeypadModifier), short(0));
        QCOMPARE(ButtonCode(Qt::LeftButton), short(1));
        QCOMPARE(ButtonCode(Qt::RightButton), short(2));
        QCOMPARE(ButtonCode(Qt::MiddleButton), short(4));
        QCOMPARE(ButtonMask(Qt::LeftButton | Qt::MiddleButton), short(5));
    }

    void eventArgumentsInTwips() {
        Stage s;
        QSignalSpy moves(s.control, &VelmoraControl::MouseMove);
        QSignalSpy downs(s.control, &VelmoraControl::MouseDown);
        QSignalSpy ups(s.control, &VelmoraControl::MouseUp);
        s.move({20, 30}, Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier);
        QCOMPARE(moves.count(), 1);
        const double tpp = Tpp();
        QCOMPARE(moves[0], QVariantList({short(3), short(1), float(20 * tpp), float(30 * tpp)}));
        QTest::mousePress(s.inputArea(), Qt::MiddleButton, Qt::ControlModifier, {40, 50});
        QTest::mouseRelease(s.inputArea(), Qt::MiddleButton, Qt::ControlModifier, {40, 50});
        QCOMPARE(downs.count(), 1);
        QCOMPARE(downs[0], QVariantList({short(4), short(2), float(40 * tpp), float(50 * tpp)}));
        QCOMPARE(ups[0], downs[0]);
    }

    void clickRules() {
        Stage s;
        QSignalSpy clicks(s.control, &VelmoraControl::Click);
        QSignalSpy downs(s.control, &VelmoraControl::MouseDown);
        // Nothing has moved over the control yet: the pointer is not known to be outside.
        QVERIFY(!s.control->PointerOutsideLogo());
        QTest::mouseClick(s.inputArea(), Qt::LeftButton, {}, {30, 200});
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(downs.count(), 1);
        s.move({30, 200});
        QVERIFY(s.control->PointerOutsideLogo());
        QTest::mouseClick(s.inputArea(), Qt::LeftButton, {}, {30, 200});
        QCOMPARE(clicks.count(), 1);
        // The right button presses but never clicks.
        QTest::mouseClick(s.inputArea(), Qt::RightButton, {}, {30, 200});
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(downs.count(), 3);
        QCOMPARE(downs.last().first().value<short>(), short(2));
        QVERIFY(s.opened.urls.isEmpty());
    }

    void doubleClickIsOneClickAndOneDoubleClick() {
        Stage s;
        s.move({30, 200});
        QSignalSpy clicks(s.control, &VelmoraControl::Click);
        QSignalSpy doubles(s.control, &VelmoraControl::DblClick);
        QSignalSpy ups(s.control, &VelmoraControl::MouseUp);
        QSignalSpy downs(s.control, &VelmoraControl::MouseDown);
        // The window system's order: press, release, double click, release.
        QTest::mouseClick(s.inputArea(), Qt::LeftButton, {}, {30, 200});
        QTest::mouseDClick(s.inputArea(), Qt::LeftButton, {}, {30, 200});
        QTest::mouseRelease(s.inputArea(), Qt::LeftButton, {}, {30, 200});
        QCOMPARE(downs.count(), 1);
        QCOMPARE(ups.count(), 2);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(doubles.count(), 1);
    }

    void logoPressOpensThePageAndRaisesNoClick() {
        Stage s;
        QSignalSpy clicks(s.control, &VelmoraControl::Click);
        QSignalSpy downs(s.control, &VelmoraControl::MouseDown);
        const QPoint centre = s.logo().center();
        s.move(centre);
        QVERIFY(!s.control->PointerOutsideLogo());
        QCOMPARE(s.inputArea()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(s.inputArea()->cursor().hotSpot(), QPoint(12, 1));
        QCOMPARE(s.inputArea()->cursor().pixmap().size(), QSize(32, 32));
        QCOMPARE(QWidget::mouseGrabber(), s.inputArea());
        QTest::mouseClick(s.inputArea(), Qt::LeftButton, {}, centre);
        QCOMPARE(s.opened.urls, QList<QUrl>{QUrl(kMakerPage)});
        QCOMPARE(downs.count(), 1);
        QCOMPARE(downs[0][0].value<short>(), short(1));
        QCOMPARE(clicks.count(), 0);
        // The right button over the logo opens nothing.
        QTest::mouseClick(s.inputArea(), Qt::RightButton, {}, centre);
        QCOMPARE(s.opened.urls.count(), 1);
        QCOMPARE(downs.last()[0].value<short>(), short(2));
        // Leaving the logo, even out of the control, lets the pointer go.
        s.move({-40, -40});
        QVERIFY(s.control->PointerOutsideLogo());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QVERIFY(!s.inputArea()->testAttribute(Qt::WA_SetCursor));
    }

    void logoEdgesAreOutside_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<bool>("inside");
        QTest::newRow("left edge") << 0 << 5 << false;
        QTest::newRow("just right of left edge") << 1 << 5 << true;
        QTest::newRow("top edge") << 5 << 0 << false;
        QTest::newRow("right edge") << -1 << 5 << false; // relative to left + width
        QTest::newRow("just inside right edge") << -2 << 5 << true;
        QTest::newRow("bottom edge") << 5 << -1 << false;
    }
    void logoEdgesAreOutside() {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(bool, inside);
        Stage s;
        const QRect logo = s.logo();
        // QRect::right() is left + width - 1, so -1 lands on left + width.
        const int x = dx >= 0 ? logo.left() + dx : logo.right() + 2 + dx;
        const int y = dy >= 0 ? logo.top() + dy : logo.bottom() + 2 + dy;
        s.move({x, y});
        QCOMPARE(!s.control->PointerOutsideLogo(), inside);
        s.move({1, 1});
    }

    void keysRelayed() {
        Stage s;
        QSignalSpy downs(s.control, &VelmoraControl::KeyDown);
        QSignalSpy presses(s.control, &VelmoraControl::KeyPress);
        QSignalSpy ups(s.control, &VelmoraControl::KeyUp);
        QTest::keyClick(s.inputArea(), Qt::Key_P, Qt::NoModifier);
        // QTest presses Shift itself first: KeyDown 16 with the Shift bit, as Windows does.
        QTest::keyClick(s.inputArea(), 'P', Qt::ShiftModifier);
        QCOMPARE(downs[0], QVariantList({short(80), short(0)}));
        QCOMPARE(downs[1], QVariantList({short(16), short(1)}));
        QCOMPARE(downs[2], QVariantList({short(80), short(1)}));
        QCOMPARE(presses[0][0].value<short>(), short(112));
        QCOMPARE(presses[1][0].value<short>(), short(80));
        QCOMPARE(ups[1], QVariantList({short(80), short(1)}));
        const int upsBefore = ups.count();
        // A held key repeats its down and its character, not its up.
        QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_A, {}, "a", true);
        QApplication::sendEvent(s.inputArea(), &repeatUp);
        QCOMPARE(ups.count(), upsBefore);
        QTest::keyClick(s.inputArea(), Qt::Key_Delete);
        QCOMPARE(downs.last()[0].value<short>(), short(46));
        QCOMPARE(presses.count(), 2);
    }

    void logoSizes() {
        QCOMPARE(Logo::SizeForHeight(7500), 15);
        QCOMPARE(Logo::SizeForHeight(7250), 14);
        QCOMPARE(Logo::SizeForHeight(7200), 14);
        QCOMPARE(Logo::SizeForHeight(7750), 16);
        QCOMPARE(Logo::SizeForHeight(0), 0);
        Stage s;
        const double tpp = Tpp();
        QCOMPARE(s.control->logo()->FontSize(), Logo::SizeForHeight(450 * tpp));
        // Top right: 3 % of the width from the right edge, 2.6 % of the height from the top.
        const QRect logo = s.logo();
        QVERIFY(qAbs(logo.left() + logo.width() - 600 * 0.97) <= 1);
        QVERIFY(qAbs(logo.top() - 450 * 0.026) <= 1);
        const QLabel* label1 = s.control->logo()->findChild<QLabel*>("Label1");
        const QLabel* label2 = s.control->logo()->findChild<QLabel*>("Label2");
        QCOMPARE(label1->text(), QString("Vantorel"));
        QCOMPARE(label2->text(), QString("Vantorel"));
        QCOMPARE(label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(label2->palette().color(QPalette::WindowText), QColor(255, 255, 128));
        QCOMPARE(label2->pos(), QPoint(qRound(8 / tpp), qRound(8 / tpp)));
        QCOMPARE(logo.size(), label1->size());
        QVERIFY(label1->font().bold());
        s.control->resize(600, 200);
        QCOMPARE(s.control->logo()->FontSize(), Logo::SizeForHeight(200 * tpp));
        QVERIFY(s.control->logo()->height() < logo.height());
    }

    // Each caption is drawn as its label would draw it, also after a new size changed its font.
    void logoCaptionsDrawAsTheirLabels() {
        Stage s;
        const auto drawn = [](const QLabel* label) {
            QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::black);
            const_cast<QLabel*>(label)->render(&image);
            return image;
        };
        const auto asALabel = [&drawn](const QLabel* caption) {
            // Inside a window, as the caption is: a window of its own would clear its background.
            QWidget window;
            QLabel plain(caption->text(), &window);
            plain.setFont(caption->font());
            plain.setPalette(caption->palette());
            plain.setAttribute(Qt::WA_TranslucentBackground);
            plain.resize(caption->size());
            return drawn(&plain);
        };
        const auto alike = [](const QImage& a, const QImage& b) {
            if (a.size() != b.size())
                return false;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                    if (qAbs(p.red() - q.red()) > 2 || qAbs(p.green() - q.green()) > 2 ||
                        qAbs(p.blue() - q.blue()) > 2)
                        return false;
                }
            return true;
        };
        for (const int height : {450, 200}) {
            s.control->resize(600, height);
            for (const char* name : {"Label1", "Label2"}) {
                const QLabel* caption = s.control->logo()->findChild<QLabel*>(name);
                const QImage image = drawn(caption);
                QVERIFY2(alike(image, asALabel(caption)), name);
                // The picture is made after the first drawing, by a call queued to the caption.
                QCoreApplication::sendPostedEvents(const_cast<QLabel*>(caption), QEvent::MetaCall);
                QVERIFY2(alike(drawn(caption), image), name);
            }
        }
    }

    void fullScreenRoundTripByEsc() {
        Stage s;
        ControlFullScreenWindow* fs = s.control->fullScreenWindow();
        QVERIFY(fs && fs->isHidden() && fs->IsMaximized());
        QCOMPARE(fs->objectName(), QString("Form1"));
        QVERIFY(fs->windowFlags() & Qt::FramelessWindowHint);
        QSignalSpy changed(s.control, &VelmoraControl::propertyChanged);
        QSignalSpy resized(s.control, &VelmoraControl::ReSize);
        s.control->SetFullScreen(true);
        s.control->SetFullScreen(true); // the second put only marks the property changed
        QCOMPARE(changed.count(), 2);
        QCOMPARE(resized.count(), 1);
        QVERIFY(s.control->FullScreen());
        QCOMPARE(s.inputArea()->parentWidget(), fs);
        QVERIFY(fs->isVisible());
        QVERIFY(fs->IsMaximized());
        QCOMPARE(s.control->size(), s.control->screen()->geometry().size());
        QCOMPARE(s.inputArea()->size(), s.control->size());
        const double tpp = Tpp();
        QCOMPARE(s.control->NormalWidth(), float(600 * tpp));
        QCOMPARE(s.control->NormalHeight(), qint32(qRound(450 * tpp)));

        QSignalSpy keys(s.control, &VelmoraControl::KeyDown);
        QElapsedTimer clock;
        qint64 back = -1;
        connect(s.control, &VelmoraControl::propertyChanged, this, [&] { back = clock.elapsed(); });
        // The host's KeyDown already finds the window restored.
        bool normalAtKeyDown = false;
        connect(s.control, &VelmoraControl::KeyDown, this,
                [&] { normalAtKeyDown = fs->IsNormal(); });
        clock.start();
        QTest::keyClick(s.inputArea(), Qt::Key_Escape);
        QCOMPARE(keys.count(), 1);
        QVERIFY(normalAtKeyDown);
        QCOMPARE(keys[0][0].value<short>(), short(27));
        QTRY_VERIFY_WITH_TIMEOUT(!s.control->FullScreen(), 1000);
        qInfo("back in place after %lld ms", back);
        QCOMPARE(s.inputArea()->parentWidget(), s.control);
        QCOMPARE(s.control->size(), QSize(600, 450));
        QCOMPARE(s.inputArea()->geometry(), QRect(0, 0, 600, 450));
        QVERIFY(fs->isHidden());
        QCOMPARE(changed.last()[0].toString(), QString("FullScreen"));
    }

    void fullScreenByTheHostAndKeysOutside() {
        Stage s;
        ControlFullScreenWindow* fs = s.control->fullScreenWindow();
        // Esc outside full screen only sets the hidden window to normal.
        QSignalSpy keys(s.control, &VelmoraControl::KeyDown);
        QTest::keyClick(s.inputArea(), Qt::Key_Escape);
        QCOMPARE(keys.count(), 1);
        QVERIFY(fs->isHidden());
        QVERIFY(fs->IsNormal());
        QVERIFY(!s.control->FullScreen());
        s.control->SetFullScreen(true);
        QVERIFY(fs->IsMaximized());
        QVERIFY(fs->isVisible());
        // The control's own surface, uncovered now, raises the events itself; its click
        // does not depend on the logo.
        QSignalSpy clicks(s.control, &VelmoraControl::Click);
        QSignalSpy downs(s.control, &VelmoraControl::MouseDown);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(s.control, &press);
        QApplication::sendEvent(s.control, &release);
        QCOMPARE(downs.count(), 1);
        QCOMPARE(clicks.count(), 1);
        // A key to the full-screen window itself ends full screen too.
        QTest::keyClick(fs, Qt::Key_Alt);
        QTRY_VERIFY_WITH_TIMEOUT(!s.control->FullScreen(), 1000);
        // The host's put ends it at once.
        s.control->SetFullScreen(true);
        QVERIFY(s.control->FullScreen());
        s.control->SetFullScreen(false);
        QCOMPARE(s.inputArea()->parentWidget(), s.control);
        QVERIFY(fs->isHidden());
        QCOMPARE(s.control->size(), QSize(600, 450));
        // Other keys do not leave.
        s.control->SetFullScreen(true);
        QSignalSpy looks(s.control->findChild<QTimer*>("Timer2"), &QTimer::timeout);
        QTest::keyClick(s.inputArea(), Qt::Key_Space);
        // Nothing happens: a key that left full screen would do so at once or at the next look
        // of the full-screen watch; two looks go by.
        QTRY_VERIFY(looks.count() >= 2);
        QVERIFY(s.control->FullScreen());
    }

    void destroyedInFullScreen() {
        auto* s = new Stage;
        s->control->SetFullScreen(true);
        QPointer<ControlFullScreenWindow> fs = s->control->fullScreenWindow();
        delete s;
        QVERIFY(fs.isNull());
    }
};

QTEST_MAIN(TestInput)
#include "tst_input.moc"
