// The finder window's whole flow, from the analysis dialog to play or copy, against a parsing
// service inside the test on 127.0.0.1.
#include "finder/finderwindow.h"
#include "programfixture.h"
#include "webserver.h"
#include "windows/analysisdialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTcpServer>
#include <QtTest>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

// An answer page as a service writes it, in code page 936.
const QByteArray kFoundPage =
    "<html><title>\xCA\xD3\xC6\xB5</title>\r\n"
    "<a href=\"http://v.example/p/1.html\">page</a>\r\n"
    "<a href=\"http://cdn.example/a.flv?key=1\" target=\"_blank\">1</a>\r\n"
    "<a href='http://cdn.example/b.f4v?key=2'>2</a>\r\n"
    "<a href=\"http://cdn.example/c.flv\">no query</a></html>";

// The message box the program opens, answered as soon as it shows.
struct MessageBoxWatch {
    MessageBoxWatch() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->windowTitle() << box->text();
            icon = box->icon();
            box->accept();
        });
        timer.start();
    }
    QTimer timer;
    QStringList seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// The windows' shows and hides, in the order they come.
struct ShowsAndHides : QObject {
    void watch(QWidget* window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            seen << watched->objectName() + (event->type() == QEvent::Show ? " shown" : " hidden");
        return false;
    }
    QStringList seen;
};

// What the program looks like while the service is asked.
struct WhileAsked {
    bool dialogShown = false;
    bool controlsDisabled = false;
    Qt::CursorShape pointer = Qt::ArrowCursor;
    bool programWideOverride = true;
    bool finderHidden = false;
};

struct Finder {
    Finder() { p.setIni("Net", "Parser", web.base() + "/svc"); }
    // 开始分析 in the analysis dialog, opened as the menu opens it; returns as the click does.
    void press(const QString& address) {
        p.windows.show(WindowId::Analysis);
        p.child<QLineEdit>(WindowId::Analysis, "Text1")->setText(address);
        p.click(WindowId::Analysis, "Command1");
    }
    // The same, and the finder once it has shown itself with the answer.
    FinderWindow* start(const QString& address) {
        press(address);
        if (!QTest::qWaitFor([this] { return shownFinder() != nullptr; }, 15000))
            return nullptr;
        return shownFinder();
    }
    FinderWindow* shownFinder() {
        auto* finder = p.windows.loaded<FinderWindow>(WindowId::Finder);
        return finder && finder->isVisible() ? finder : nullptr;
    }
    // Answers with `page`, noting first how the windows look while they wait for it.
    void answerNoting(const QByteArray& page) {
        web.route("/svc/parse.php", [this, page](const QByteArray&) {
            QWidget* dialog = p.windows.loaded(WindowId::Analysis);
            asked.dialogShown = dialog && dialog->isVisible();
            asked.controlsDisabled = dialog && !p.child(WindowId::Analysis, "Text1")->isEnabled() &&
                                     !p.child(WindowId::Analysis, "Command1")->isEnabled() &&
                                     !p.child(WindowId::Analysis, "Command2")->isEnabled();
            asked.pointer = dialog ? dialog->cursor().shape() : Qt::ArrowCursor;
            asked.programWideOverride = QGuiApplication::overrideCursor() != nullptr;
            auto* finder = p.windows.loaded<FinderWindow>(WindowId::Finder);
            asked.finderHidden = finder && finder->asking() && !finder->isVisible();
            return WebServer::Reply(WebServer::Response(200, page));
        });
    }
    // Waits until the service has the question and holds it.
    void waitForTheQuestion() {
        QTRY_COMPARE(web.requests().size(), 1);
        QTRY_COMPARE(web.openConnections(), 1);
    }
    QString shown() { return p.child<QPlainTextEdit>(WindowId::Finder, "Textshow")->toPlainText(); }
    bool enabled(const char* name) { return p.child(WindowId::Finder, name)->isEnabled(); }

    Program p;
    WebServer web;
    WhileAsked asked;
};

} // namespace

class TestFinderWindow : public QObject {
    Q_OBJECT
  private slots:
    void foundAddressIsPlayedOrCopied() {
        Finder f;
        f.answerNoting(kFoundPage);
        ShowsAndHides order;
        f.p.windows.show(WindowId::Analysis);
        order.watch(f.p.windows.loaded(WindowId::Analysis));
        f.press("http://v.example/p/1.html?a=1&b=2");
        // The click returns at once: the finder is made hidden and asks.
        auto* asking = f.p.windows.loaded<FinderWindow>(WindowId::Finder);
        QVERIFY(asking && asking->asking() && !asking->isVisible());
        order.watch(asking);
        QTRY_VERIFY(f.shownFinder());
        FinderWindow* finder = f.shownFinder();
        QCOMPARE(finder, asking);
        QVERIFY(!finder->asking());
        // While asked: the dialog stays in view, takes no input and shows the busy pointer, on
        // itself alone.
        QVERIFY(f.asked.dialogShown && f.asked.controlsDisabled && f.asked.finderHidden);
        QCOMPARE(f.asked.pointer, Qt::WaitCursor);
        QVERIFY(!f.asked.programWideOverride);
        // Then the finder shows with its result, and the dialog goes.
        QCOMPARE(order.seen, QStringList({"Form10 shown", "Form9 hidden"}));
        QCOMPARE(finder->objectName(), QString("Form10"));
        QVERIFY(f.web.requests()[0].startsWith(
            "GET /svc/parse.php?kw=http%3A%2F%2Fv.example%2Fp%2F1.html%3Fa%3D1%26b%3D2"
            "&flag=&format= HTTP/1.1\r\n"));
        QCOMPARE(finder->queryAddress(), f.web.base() + "/svc/parse.php?kw=http%3A%2F%2Fv."
                                                        "example%2Fp%2F1.html%3Fa%3D1%26b%3D2&"
                                                        "flag=&format=");
        QVERIFY(finder->pageText().contains("<title>视频</title>"));
        // The later match is the one shown; the dialog is gone.
        QCOMPARE(finder->windowTitle(), QString("分析完成!"));
        QCOMPARE(f.shown(), QString("http://cdn.example/b.f4v?key=2"));
        QVERIFY(f.enabled("Textshow") && f.enabled("Command1") && f.enabled("Command2"));
        QVERIFY(!f.p.windows.loaded(WindowId::Analysis));
        QVERIFY(f.p.main.player.played.isEmpty());
        // url.dat in the program folder records every href.
        QFile list(f.p.folder.filePath("url.dat"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll().count(QByteArray(54, '-')), 4);

        // A second start only brings the same window forward: no new analysis.
        QCOMPARE(f.start("http://other.example/"), finder);
        QCOMPARE(f.web.requests().size(), 1);
        QVERIFY(!f.p.windows.loaded(WindowId::Analysis)->isVisible());
        QCOMPARE(f.shown(), QString("http://cdn.example/b.f4v?key=2"));

        MessageBoxWatch watch;
        f.p.click(WindowId::Finder, "Command2");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("http://cdn.example/b.f4v?key=2"));
        QTRY_COMPARE(watch.seen, QStringList({"成功", "复制完成!"}));
        QCOMPARE(watch.icon, QMessageBox::Information);
        QCOMPARE(f.p.windows.loaded(WindowId::Finder), finder);

        // Played as the box holds it, and the finder closes.
        f.p.child<QPlainTextEdit>(WindowId::Finder, "Textshow")->setPlainText("http://e/x.flv?1");
        f.p.click(WindowId::Finder, "Command1");
        QCOMPARE(f.p.main.player.played, QStringList{"http://e/x.flv?1"});
        QVERIFY(!f.p.windows.loaded(WindowId::Finder));
    }

    void nothingFoundKeepsTheDialogHidden_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("no query in the links")
            << 200 << QByteArray("<a href=\"http://a/v.flv\">x</a><a href='http://a/w.F4V?x'>");
        QTest::newRow("error page") << 404 << QByteArray("<h1>Not Found</h1>");
        QTest::newRow("empty page") << 200 << QByteArray();
        QTest::newRow("no service") << 0 << QByteArray();
    }
    void nothingFoundKeepsTheDialogHidden() {
        QFETCH(int, status);
        QFETCH(QByteArray, page);
        Finder f;
        QTcpServer closed;
        if (status) {
            f.web.answer("/svc/parse.php", status, page);
        } else {
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            f.p.setIni("Net", "Parser", QString("http://127.0.0.1:%1").arg(closed.serverPort()));
            closed.close();
        }
        FinderWindow* finder = f.start("http://v.example/p/2.html");
        QVERIFY(finder);
        QCOMPARE(finder->windowTitle(), QString("分析中..."));
        QCOMPARE(f.shown(), QString());
        QVERIFY(!f.enabled("Textshow") && !f.enabled("Command1") && !f.enabled("Command2"));
        auto* dialog = f.p.windows.loaded<AnalysisDialog>(WindowId::Analysis);
        QVERIFY(dialog && !dialog->isVisible());
        QCOMPARE(dialog->address(), QString("http://v.example/p/2.html"));
        // Ready for another try once shown again.
        QVERIFY(!dialog->waiting() && dialog->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(f.p.child(WindowId::Analysis, "Command1")->isEnabled());
        QVERIFY(QFile::exists(f.p.folder.filePath("url.dat")));
    }

    // A window closed while the service has not answered takes the question with it: the
    // service sees the connection closed, and nothing comes back to a window that is gone.
    void closedWhileAskingWithdrawsTheQuestion_data() {
        QTest::addColumn<QString>("closed");
        QTest::newRow("the finder") << "Form10";
        QTest::newRow("the dialog") << "Form9";
        QTest::newRow("the program") << "all";
    }
    void closedWhileAskingWithdrawsTheQuestion() {
        QFETCH(QString, closed);
        Finder f;
        f.web.route("/svc/parse.php", [](const QByteArray&) { return WebServer::Silent(); });
        f.press("http://v.example/p/3.html");
        f.waitForTheQuestion();
        QPointer<QWidget> finder = f.p.windows.loaded(WindowId::Finder);
        QPointer<QWidget> dialog = f.p.windows.loaded(WindowId::Analysis);
        if (closed == "Form10")
            finder->close();
        else if (closed == "Form9")
            dialog->close();
        else
            f.p.windows.unloadAll();
        QTRY_COMPARE(f.web.openConnections(), 0);
        QTRY_VERIFY(!finder);
        QVERIFY(!f.p.windows.loaded(WindowId::Finder));
        if (closed == "Form10") {
            // The dialog is back as it was before 开始分析, for another try.
            QVERIFY(dialog && dialog->isVisible());
            QVERIFY(f.p.child(WindowId::Analysis, "Command1")->isEnabled());
            QCOMPARE(dialog->cursor().shape(), Qt::ArrowCursor);
        } else {
            QTRY_VERIFY(!dialog);
        }
        QCOMPARE(f.web.requests().size(), 1);
    }

    void fixedSizeWindow() {
        Finder f;
        f.web.answer("/svc/parse.php", 200, kFoundPage);
        FinderWindow* finder = f.start("x");
        QCOMPARE(finder->minimumSize(), finder->maximumSize());
        QVERIFY(!(finder->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }
};

QTEST_MAIN(TestFinderWindow)
#include "tst_finderwindow.moc"
