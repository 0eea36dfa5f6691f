// The waited-for GET against a real server on 127.0.0.1: what counts as an answer, what as a
// failure, and the bounds that keep a hostile server from hanging the program or filling its
// memory.
#include "httpstub.h"
#include "platform/blockingfetch.h"

#include <QGuiApplication>
#include <QTcpServer>
#include <QtTest>

using namespace ovelo;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(ovelo::FetchFailure)

namespace {

FetchResult Fetch(const QUrl& url, qint64 maxBytes = 1 << 20,
                  std::chrono::milliseconds timeout = 10s) {
    return BlockingFetch(url, {{"Content-Type", "text/XML"}}, timeout, maxBytes);
}

} // namespace

class TestBlockingFetch : public QObject {
    Q_OBJECT
  private slots:
    void anyStatusGivesItsBody_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("found") << 200 << QByteArray("<a href=x>");
        QTest::newRow("error page") << 404 << QByteArray("<h1>Not Found</h1>");
        QTest::newRow("server error") << 500 << QByteArray("oops");
        QTest::newRow("forbidden") << 403 << QByteArray("no");
        QTest::newRow("empty") << 200 << QByteArray();
        QTest::newRow("binary") << 200 << QByteArray("\x00\xB0\xA1\xFF", 4);
    }
    void anyStatusGivesItsBody() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        HttpStub stub;
        stub.answer("/page", status, body);
        const FetchResult result = Fetch(stub.url("/page"));
        QVERIFY(result.ok());
        QCOMPARE(result.status, status);
        QCOMPARE(result.body, body);
    }

    void sendsTheHeadersAndFollowsRedirects() {
        HttpStub stub;
        stub.answer("/page", 200, "arrived");
        stub.answer("/moved", 302, "elsewhere", "Location: /page?a=1\r\n");
        const FetchResult result = Fetch(stub.url("/moved?x=%3A"));
        QVERIFY(result.ok());
        QCOMPARE(result.body, QByteArray("arrived"));
        QCOMPARE(stub.requests().size(), 2);
        QVERIFY(stub.requests()[0].startsWith("GET /moved?x=%3A HTTP/1.1\r\n"));
        QVERIFY(stub.requests()[0].contains("\r\nContent-Type: text/XML\r\n"));
        QVERIFY(stub.requests()[1].startsWith("GET /page?a=1 HTTP/1.1\r\n"));

        // A loop of redirects ends, as a failure.
        stub.answer("/loop", 302, "", "Location: /loop\r\n");
        const FetchResult loop = Fetch(stub.url("/loop"));
        QCOMPARE(loop.failure, FetchFailure::Network);
        QVERIFY(loop.body.isEmpty());
    }

    void failuresGiveNoBody_data() {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<bool>("hangUp");
        QTest::addColumn<FetchFailure>("failure");
        const QByteArray half = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhalf";
        QTest::newRow("never answers") << QByteArray() << false << FetchFailure::TimedOut;
        QTest::newRow("stalls in the body") << half << false << FetchFailure::TimedOut;
        QTest::newRow("body cut short") << half << true << FetchFailure::Network;
        QTest::newRow("hangs up at once") << QByteArray() << true << FetchFailure::Network;
        QTest::newRow("not HTTP") << QByteArray("SSH-2.0-OpenSSH_9\r\n") << true
                                  << FetchFailure::Network;
    }
    void failuresGiveNoBody() {
        QFETCH(QByteArray, wire);
        QFETCH(bool, hangUp);
        QFETCH(FetchFailure, failure);
        HttpStub stub;
        stub.route("/page", [&](const QByteArray&) { return HttpStub::Reply(wire, hangUp); });
        const FetchResult result = Fetch(stub.url("/page"), 1 << 20, 300ms);
        QCOMPARE(result.failure, failure);
        QVERIFY(result.body.isEmpty());
    }

    void unreachableOrNoWebAddress() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QCOMPARE(Fetch(QUrl(QString("http://127.0.0.1:%1/p").arg(port))).failure,
                 FetchFailure::Network);
        for (const char* address : {"", "no address", "ftp://127.0.0.1/x", "file:///etc/passwd",
                                    "http://", "javascript:alert(1)"})
            QCOMPARE(Fetch(QUrl(address)).failure, FetchFailure::BadAddress);
    }

    void bodyOverTheLimitFails() {
        HttpStub stub;
        stub.answer("/exact", 200, QByteArray(1000, 'x'));
        stub.answer("/over", 200, QByteArray(1001, 'x'));
        // Without a length the body ends when the server closes: it is cut while it comes.
        const QByteArray endless =
            "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(200000, 'y');
        stub.route("/unsized", [endless](const QByteArray&) { return endless; });
        // Announced as far over the limit, with hardly anything sent, and the line kept open.
        stub.route("/announced", [](const QByteArray&) {
            return HttpStub::Stall("HTTP/1.1 200 OK\r\nContent-Length: 999999999\r\n\r\nabc");
        });

        const FetchResult exact = Fetch(stub.url("/exact"), 1000);
        QVERIFY(exact.ok());
        QCOMPARE(exact.body.size(), 1000);
        for (const char* path : {"/over", "/unsized", "/announced"}) {
            const FetchResult result = Fetch(stub.url(path), 1000);
            QCOMPARE(result.failure, FetchFailure::TooLarge);
            QVERIFY(result.body.isEmpty());
        }
    }

    void busyPointerWhileWaiting() {
        HttpStub stub;
        bool busy = false;
        stub.route("/page", [&busy](const QByteArray&) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busy = cursor && cursor->shape() == Qt::WaitCursor;
            return HttpStub::Reply(HttpStub::Response(200, "ok"));
        });
        QVERIFY(Fetch(stub.url("/page")).ok());
        QVERIFY(busy);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestBlockingFetch)
#include "tst_blockingfetch.moc"
