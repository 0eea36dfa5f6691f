// The secondary windows, their coordinator, and the player host they share with the main window.
#include "programfixture.h"

#include "layout/layout.h"
#include "platform/caption.h"
#include "platform/programfolder.h"
#include "player/controlfactory.h"
#include "player/playerhost.h"
#include "player/standinplayer.h"
#include "settings/inifile.h"
#include "settings/webaddresses.h"
#include "windows/aboutwindow.h"
#include "windows/analysisdialog.h"
#include "windows/coordinator.h"
#include "windows/form.h"
#include "windows/knowledgewindow.h"
#include "windows/mainaccess.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

QRect Twips(const QWidget* w) {
    const double tx = TwipsPerPixelX(w), ty = TwipsPerPixelY(w);
    const QRect g = w->geometry();
    return QRect(qRound(g.x() * tx), qRound(g.y() * ty), qRound(g.width() * tx),
                 qRound(g.height() * ty));
}

} // namespace

// Slots named as a form names its handlers of the player's events.
class TestHandler : public QObject {
    Q_OBJECT
  public slots:
    void flv_PlayProgress(float, float, float) {}
    void flv_OnReadyStateChange(const QString&) {}
    void flv_Nonsense() {}
    void other_KeyDown(short, short) {}
};

// A handler for each of the player's twelve events, written as hosts write them.
class EveryEventHandler : public QObject {
    Q_OBJECT
  public slots:
    void flv_Click() {}
    void flv_DblClick() {}
    void flv_MouseDown(short, short, float, float) {}
    void flv_MouseMove(short, short, float, float) {}
    void flv_MouseUp(short, short, float, float) {}
    void flv_PlayProgress(float, float, float) {}
    void flv_ButterProgress(qint32, qint32) {}
    void flv_ReSize() {}
    void flv_OnReadyStateChange(const QString&) {}
    void flv_KeyDown(short, short) {}
    void flv_KeyUp(short, short) {}
    void flv_KeyPress(short) {}
};

class TestWindows : public QObject {
    Q_OBJECT
  private slots:
    void eachWindowIsOneInstanceUntilClosed() {
        Program p;
        QWidget* first = p.windows.show(WindowId::Address);
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->objectName(), QString("Form2"));
        QVERIFY(!first->parentWidget());
        QVERIFY(!first->isModal());
        p.child<QLineEdit>(WindowId::Address, "Text1")->setText("rtmp://typed");
        QCOMPARE(p.windows.show(WindowId::Address), first);
        first->close();
        QVERIFY(!p.windows.loaded(WindowId::Address));
        // Made anew, with its initial text.
        QWidget* second = p.windows.show(WindowId::Address);
        QVERIFY(second);
        QCOMPARE(p.child<QLineEdit>(WindowId::Address, "Text1")->text(), QString("http://"));
        // The program has every one of its windows.
        for (WindowId id : kUnloadOrder)
            QVERIFY(p.windows.has(id));
    }

    void addressWindowPlaysWhatWasTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("untouched") << "http://";
        QTest::newRow("blanks kept") << "  http://a.b/v.flv ";
        QTest::newRow("odd characters") << "http://h/视频 a&b<c>\"d'.flv?x=1&y=[*]";
    }
    void addressWindowPlaysWhatWasTyped() {
        QFETCH(QString, typed);
        Program p;
        p.windows.show(WindowId::Address);
        p.child<QLineEdit>(WindowId::Address, "Text1")->setText(typed);
        p.click(WindowId::Address, "Command1");
        QCOMPARE(p.main.player.played, QStringList{typed});
        QVERIFY(!p.windows.loaded(WindowId::Address));
    }

    void analysisDialogHidesAndKeepsItsAddress() {
        Program p;
        // The finder it starts asks a service that is not there, and finds nothing.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        p.setIni("Net", "Parser", QString("http://127.0.0.1:%1/").arg(closed.serverPort()));
        closed.close();
        p.windows.show(WindowId::Analysis);
        QCOMPARE(p.child<QGroupBox>(WindowId::Analysis, "Frame1")->title(), QString("视频地址"));
        p.child<QLineEdit>(WindowId::Analysis, "Text1")->setText("http://v.example/page");
        p.click(WindowId::Analysis, "Command1");
        auto* dialog = p.windows.loaded<AnalysisDialog>(WindowId::Analysis);
        QVERIFY(dialog);
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(dialog->address(), QString("http://v.example/page"));
        QVERIFY(p.main.player.played.isEmpty());
        // Shown again, the address is still there; 取消 unloads it.
        QCOMPARE(p.windows.show(WindowId::Analysis), dialog);
        QCOMPARE(dialog->address(), QString("http://v.example/page"));
        p.click(WindowId::Analysis, "Command2");
        QVERIFY(!p.windows.loaded(WindowId::Analysis));
    }

    void aboutAndKnowledgeTexts() {
        Program p;
        // The site is configuration, shown as plain text.
        p.setIni("Net", "Site", "https://example.org/a&b<i>");
        p.windows.show(WindowId::About);
        auto* site = p.child<QLabel>(WindowId::About, "Label2");
        QCOMPARE(site->text(), QString("https://example.org/a&b<i>"));
        QCOMPARE(site->textFormat(), Qt::PlainText);
        QCOMPARE(p.child<QLabel>(WindowId::About, "Label3")->text(), QString("V1.2.0.2250"));
        QVERIFY(!p.child<QLabel>(WindowId::About, "Picture2")->pixmap().isNull());
        p.click(WindowId::About, "Command1");
        QVERIFY(!p.windows.loaded(WindowId::About));

        p.windows.show(WindowId::AboutFlv);
        p.windows.show(WindowId::AboutF4v);
        QCOMPARE(p.windows.loaded(WindowId::AboutFlv)->windowTitle(), QString("知识中心"));
        QCOMPARE(p.child<QLabel>(WindowId::AboutFlv, "Label1")->text(), QString("什么是Flv?"));
        QCOMPARE(p.child<QLabel>(WindowId::AboutF4v, "Label1")->text(), QString("什么是F4v?"));
        const QString flv = p.child<QLabel>(WindowId::AboutFlv, "Label2")->text();
        const QString f4v = p.child<QLabel>(WindowId::AboutF4v, "Label2")->text();
        QVERIFY(flv.startsWith("FLV 是FLASH VIDEO的简称，FLV流媒体格式是随着Flash MX的推出"));
        QVERIFY(flv.endsWith("不能在网络上很好的使用等缺点。\n"));
        QVERIFY(f4v.startsWith("F4V是Adobe公司为了迎接高清时代"));
        QVERIFY(f4v.endsWith("码率最高可达50Mbps。 "));
        QCOMPARE(Twips(p.child(WindowId::AboutFlv, "Label1")).left(), 2760);
        QCOMPARE(Twips(p.child(WindowId::AboutF4v, "Label1")).left(), 2880);
    }

    void designSizesAndBorders_data() {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QSize>("inner");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Form2") << WindowId::Address << QSize(4680, 1515) << "打开URL...";
        QTest::newRow("Form9") << WindowId::Analysis << QSize(4755, 1740) << "网络视频分析";
        QTest::newRow("Form5") << WindowId::About << QSize(6855, 3930) << "关于";
        QTest::newRow("Form7") << WindowId::AboutFlv << QSize(6795, 3675) << "知识中心";
    }
    void designSizesAndBorders() {
        QFETCH(WindowId, id);
        QFETCH(QSize, inner);
        QFETCH(QString, caption);
        Program p;
        QWidget* w = p.windows.show(id);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(Twips(w).size(), inner);
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(
            !(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Every control sits on its design rectangle, recorded for the layout.
        for (QWidget* control : w->findChildren<QWidget*>()) {
            const QString tag = control->property("Tag").toString();
            if (tag.isEmpty())
                continue;
            const QStringList f = tag.split(' ', Qt::SkipEmptyParts);
            const QRect design(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt());
            const QRect placed = Twips(control);
            QVERIFY2(qAbs(placed.left() - design.left()) <= 15 &&
                         qAbs(placed.width() - design.width()) <= 15,
                     qPrintable(control->objectName()));
        }
    }

    void closingUnloadsInOrder() {
        Program p;
        QStringList unloaded;
        for (WindowId id : {WindowId::Address, WindowId::About, WindowId::Analysis,
                            WindowId::AboutFlv, WindowId::AboutF4v}) {
            auto* form = qobject_cast<Form*>(p.windows.show(id));
            QObject::connect(form, &Form::unloaded, form,
                             [&unloaded, form] { unloaded << form->objectName(); });
        }
        // Hidden but loaded counts too.
        p.windows.loaded(WindowId::Analysis)->hide();
        p.windows.unloadAll();
        QCOMPARE(unloaded, QStringList({"Form9", "Form8", "Form7", "Form5", "Form2"}));
        for (WindowId id : kUnloadOrder)
            QVERIFY(!p.windows.loaded(id));
        p.windows.unloadAll(); // nothing loaded: nothing happens
    }

    void playerHostBindsByNameAndStandsIn() {
        QWidget parent;
        PlayerHost standIn(&parent, [](QWidget*) { return nullptr; });
        QVERIFY(standIn.isStandIn());
        QVERIFY(standIn.player());
        QCOMPARE(standIn.widget()->parentWidget(), &parent);
        QVERIFY(qobject_cast<flv::Velmora*>(standIn.widget()));
        // A handler for an event the player does not have is logged.
        TestHandler handler;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no event.*Nonsense"));
        QCOMPARE(standIn.bindEvents(&handler, "flv"), 2);
    }

    void everyEventBindsOnTheLibrarysPlayerAndTheStandIn_data() {
        QTest::addColumn<bool>("fromLibrary");
        QTest::newRow("the library's player") << true;
        QTest::newRow("the stand-in") << false;
    }
    void everyEventBindsOnTheLibrarysPlayerAndTheStandIn() {
        QFETCH(bool, fromLibrary);
        QWidget parent;
        PlayerHost host(&parent, [fromLibrary](QWidget* p) {
            return fromLibrary
                       ? CreateControl(QString::fromLatin1(flv::ProgId), p, OVELO_PROGRAM_DIR)
                       : nullptr;
        });
        QCOMPARE(host.isStandIn(), !fromLibrary);
        EveryEventHandler handler;
        QCOMPARE(host.bindEvents(&handler, "flv"), 12);
    }

    void webAddressesComeFromConfig() {
        Program p;
        QCOMPARE(ProductSite(), QString(kDefaultSite));
        QCOMPARE(ProductForum(), QString(kDefaultSite) + "/bbs");
        p.setIni("Net", "Site", "http://mirror.example/ovelo/");
        p.setIni("Net", "Update", "  ");
        QCOMPARE(ProductForum(), QString("http://mirror.example/ovelo/bbs"));
        QCOMPARE(UpdateServer(), QString(kDefaultUpdate));
        QCOMPARE(JoinWebPath("http://u.example/", "/download/Up.exe"),
                 QString("http://u.example/download/Up.exe"));
    }

    void captionsKeepTheirText() {
        QWidget w;
        SetCaption(&w, "Ovelo - /v/[*]a [*][*].flv");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowHandle()->title(), QString("Ovelo - /v/[*]a [*][*].flv"));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
