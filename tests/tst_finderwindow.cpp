// The finder window's whole flow, from the analysis dialog to play or copy, against a parsing
// service inside the test on 127.0.0.1.
#include "finder/finderwindow.h"
#include "httpstub.h"
#include "windows/analysisdialog.h"
#include "programfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
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

struct Finder {
    Finder() { p.setIni("Net", "Parser", stub.base() + "/svc"); }
    // 开始分析 in the analysis dialog, opened as the menu opens it.
    FinderWindow* start(const QString& address) {
        p.windows.show(WindowId::Form9);
        p.child<QLineEdit>(WindowId::Form9, "Text1")->setText(address);
        p.click(WindowId::Form9, "Command1");
        return p.windows.loaded<FinderWindow>(WindowId::Form10);
    }
    QString shown() { return p.child<QPlainTextEdit>(WindowId::Form10, "Textshow")->toPlainText(); }
    bool enabled(const char* name) { return p.child(WindowId::Form10, name)->isEnabled(); }

    Program p;
    HttpStub stub;
};

} // namespace

class TestFinderWindow : public QObject {
    Q_OBJECT
  private slots:
    void foundAddressIsPlayedOrCopied() {
        Finder f;
        f.stub.answer("/svc/parse.php", 200, kFoundPage);
        FinderWindow* finder = f.start("http://v.example/p/1.html?a=1&b=2");
        QVERIFY(finder && finder->isVisible());
        QCOMPARE(finder->objectName(), QString("Form10"));
        QVERIFY(f.stub.requests()[0].startsWith(
            "GET /svc/parse.php?kw=http%3A%2F%2Fv.example%2Fp%2F1.html%3Fa%3D1%26b%3D2"
            "&flag=&format= HTTP/1.1\r\n"));
        QCOMPARE(finder->queryAddress(), f.stub.base() + "/svc/parse.php?kw=http%3A%2F%2Fv."
                                                         "example%2Fp%2F1.html%3Fa%3D1%26b%3D2&"
                                                         "flag=&format=");
        QVERIFY(finder->pageText().contains("<title>视频</title>"));
        // The later match is the one shown; the dialog is gone.
        QCOMPARE(finder->windowTitle(), QString("分析完成!"));
        QCOMPARE(f.shown(), QString("http://cdn.example/b.f4v?key=2"));
        QVERIFY(f.enabled("Textshow") && f.enabled("Command1") && f.enabled("Command2"));
        QVERIFY(!f.p.windows.loaded(WindowId::Form9));
        QVERIFY(f.p.main.player.played.isEmpty());
        // url.dat in the program folder records every href.
        QFile list(f.p.folder.filePath("url.dat"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll().count(QByteArray(54, '-')), 4);

        // A second start only brings the same window forward: no new analysis.
        QCOMPARE(f.start("http://other.example/"), finder);
        QCOMPARE(f.stub.requests().size(), 1);
        QVERIFY(!f.p.windows.loaded(WindowId::Form9)->isVisible());
        QCOMPARE(f.shown(), QString("http://cdn.example/b.f4v?key=2"));

        MessageBoxWatch watch;
        f.p.click(WindowId::Form10, "Command2");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("http://cdn.example/b.f4v?key=2"));
        QCOMPARE(watch.seen, QStringList({"成功", "复制完成!"}));
        QCOMPARE(watch.icon, QMessageBox::Information);
        QCOMPARE(f.p.windows.loaded(WindowId::Form10), finder);

        // Played as the box holds it, and the finder closes.
        f.p.child<QPlainTextEdit>(WindowId::Form10, "Textshow")->setPlainText("http://e/x.flv?1");
        f.p.click(WindowId::Form10, "Command1");
        QCOMPARE(f.p.main.player.played, QStringList{"http://e/x.flv?1"});
        QVERIFY(!f.p.windows.loaded(WindowId::Form10));
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
            f.stub.answer("/svc/parse.php", status, page);
        } else {
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            f.p.setIni("Net", "Parser", QString("http://127.0.0.1:%1").arg(closed.serverPort()));
            closed.close();
        }
        FinderWindow* finder = f.start("http://v.example/p/2.html");
        QVERIFY(finder && finder->isVisible());
        QCOMPARE(finder->windowTitle(), QString("分析中..."));
        QCOMPARE(f.shown(), QString());
        QVERIFY(!f.enabled("Textshow") && !f.enabled("Command1") && !f.enabled("Command2"));
        auto* dialog = f.p.windows.loaded<AnalysisDialog>(WindowId::Form9);
        QVERIFY(dialog && !dialog->isVisible());
        QCOMPARE(dialog->address(), QString("http://v.example/p/2.html"));
        QVERIFY(QFile::exists(f.p.folder.filePath("url.dat")));
    }

    void fixedSizeWindow() {
        Finder f;
        f.stub.answer("/svc/parse.php", 200, kFoundPage);
        FinderWindow* finder = f.start("x");
        QCOMPARE(finder->minimumSize(), finder->maximumSize());
        QVERIFY(!(finder->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }
};

QTEST_MAIN(TestFinderWindow)
#include "tst_finderwindow.moc"
