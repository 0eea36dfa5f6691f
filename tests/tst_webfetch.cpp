// The GET the finder and the updater share, against a real server on 127.0.0.1: what counts as
// an answer, what as a failure, the bounds that keep a hostile server from hanging a window or
// filling the memory, and the end of a fetch whose window goes first.
#include "platform/webfetch.h"
#include "webserver.h"

#include <QTcpServer>
#include <QtTest>
#include <memory>
#include <optional>

using namespace ovelo;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(ovelo::FetchFailure)
Q_DECLARE_METATYPE(WebServer::Reply)

namespace {

const QList<HttpHeader> kHeaders = {{"Content-Type", "text/XML"}};

WebFetch* Start(const QUrl& url, QObject* parent, qint64 maxBytes = 1 << 20,
                std::chrono::milliseconds timeout = 10s) {
    return new WebFetch(url, kHeaders, timeout, maxBytes, parent);
}

// The one report of a fetch; nothing when none came in far more than the fetch's own time.
std::optional<FetchResult> Fetch(const QUrl& url, qint64 maxBytes = 1 << 20,
                                 std::chrono::milliseconds timeout = 10s) {
    QObject owner;
    WebFetch* fetch = Start(url, &owner, maxBytes, timeout);
    QSignalSpy finished(fetch, &WebFetch::finished);
    const auto patience = std::chrono::duration_cast<std::chrono::milliseconds>(timeout + 10s);
    if (!finished.wait(int(patience.count())))
        return std::nullopt;
    return finished.first().first().value<FetchResult>();
}

} // namespace

class TestWebFetch : public QObject {
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
        WebServer web;
        web.answer("/page", status, body);
        const std::optional<FetchResult> result = Fetch(web.url("/page"));
        QVERIFY(result && result->ok());
        QCOMPARE(result->status, status);
        QCOMPARE(result->body, body);
    }

    void sendsTheHeadersAndFollowsRedirects() {
        WebServer web;
        web.answer("/page", 200, "arrived");
        web.answer("/moved", 302, "elsewhere", "Location: /page?a=1\r\n");
        const std::optional<FetchResult> result = Fetch(web.url("/moved?x=%3A"));
        QVERIFY(result && result->ok());
        QCOMPARE(result->body, QByteArray("arrived"));
        QCOMPARE(web.requests().size(), 2);
        QVERIFY(web.requests()[0].startsWith("GET /moved?x=%3A HTTP/1.1\r\n"));
        QVERIFY(web.requests()[0].contains("\r\nContent-Type: text/XML\r\n"));
        QVERIFY(web.requests()[1].startsWith("GET /page?a=1 HTTP/1.1\r\n"));

        // A loop of redirects ends, as a failure.
        web.answer("/loop", 302, "", "Location: /loop\r\n");
        const std::optional<FetchResult> loop = Fetch(web.url("/loop"));
        QVERIFY(loop);
        QCOMPARE(loop->failure, FetchFailure::Network);
        QVERIFY(loop->body.isEmpty());
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
        WebServer web;
        web.route("/page", [&](const QByteArray&) { return WebServer::Reply(wire, hangUp); });
        const std::optional<FetchResult> result = Fetch(web.url("/page"), 1 << 20, 300ms);
        QVERIFY(result);
        QCOMPARE(result->failure, failure);
        QVERIFY(result->body.isEmpty());
    }

    // A body that keeps coming, a little at a time, is still cut at the time-out.
    void tricklingBodyTimesOut() {
        WebServer web;
        web.route("/page", [](const QByteArray&) {
            return WebServer::Trickle("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", "x", 20);
        });
        const std::optional<FetchResult> result = Fetch(web.url("/page"), 1 << 20, 500ms);
        QVERIFY(result);
        QCOMPARE(result->failure, FetchFailure::TimedOut);
        QTRY_COMPARE(web.openConnections(), 0);
    }

    void unreachableOrNoWebAddress() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        const std::optional<FetchResult> refused =
            Fetch(QUrl(QString("http://127.0.0.1:%1/p").arg(port)));
        QVERIFY(refused);
        QCOMPARE(refused->failure, FetchFailure::Network);
        for (const char* address : {"", "no address", "ftp://127.0.0.1/x", "file:///etc/passwd",
                                    "http://", "javascript:alert(1)"}) {
            const std::optional<FetchResult> bad = Fetch(QUrl(address));
            QVERIFY2(bad && bad->failure == FetchFailure::BadAddress, address);
        }
    }

    void bodyOverTheLimitFails() {
        WebServer web;
        web.answer("/exact", 200, QByteArray(1000, 'x'));
        web.answer("/over", 200, QByteArray(1001, 'x'));
        // Without a length the body ends when the server closes: it is cut while it comes.
        const QByteArray endless =
            "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(200000, 'y');
        web.route("/unsized", [endless](const QByteArray&) { return endless; });
        // Announced as far over the limit, with hardly anything sent, and the line kept open:
        // refused at once, not at the time-out.
        web.route("/announced", [](const QByteArray&) {
            return WebServer::Stall("HTTP/1.1 200 OK\r\nContent-Length: 999999999\r\n\r\nabc");
        });

        const std::optional<FetchResult> exact = Fetch(web.url("/exact"), 1000);
        QVERIFY(exact && exact->ok());
        QCOMPARE(exact->body.size(), 1000);
        for (const char* path : {"/over", "/unsized", "/announced"}) {
            const std::optional<FetchResult> result = Fetch(web.url(path), 1000);
            QVERIFY2(result, path);
            QCOMPARE(result->failure, FetchFailure::TooLarge);
            QVERIFY(result->body.isEmpty());
        }
    }

    // The window that asked is closed mid-way: the server sees the connection go, and nothing
    // is reported, whether the fetch itself or its owner is deleted.
    void deletedMidTransferCancelsSilently_data() {
        QTest::addColumn<WebServer::Reply>("reply");
        QTest::addColumn<bool>("deleteOwner");
        const WebServer::Reply silent = WebServer::Silent();
        const WebServer::Reply trickle =
            WebServer::Trickle("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", "x", 20);
        QTest::newRow("silent server, fetch deleted") << silent << false;
        QTest::newRow("silent server, owner deleted") << silent << true;
        QTest::newRow("trickling body, fetch deleted") << trickle << false;
        QTest::newRow("trickling body, owner deleted") << trickle << true;
    }
    void deletedMidTransferCancelsSilently() {
        QFETCH(WebServer::Reply, reply);
        QFETCH(bool, deleteOwner);
        WebServer web;
        web.route("/page", [reply](const QByteArray&) { return reply; });
        auto owner = std::make_unique<QObject>();
        WebFetch* fetch = Start(web.url("/page"), owner.get());
        QSignalSpy finished(fetch, &WebFetch::finished);
        QTRY_COMPARE(web.requests().size(), 1);
        QCOMPARE(web.openConnections(), 1);
        if (deleteOwner)
            owner.reset();
        else
            delete fetch;
        QTRY_COMPARE(web.openConnections(), 0);
        QCOMPARE(finished.size(), 0);
    }

    // Deleted after its answer arrived but before it was reported: the report is dropped. A
    // fetch started later reports later, so once it has, the first would have too.
    void deletedBeforeItsReportReportsNothing() {
        QObject owner;
        WebFetch* first = Start(QUrl("no address"), &owner);
        QSignalSpy dropped(first, &WebFetch::finished);
        WebFetch* second = Start(QUrl("no address"), &owner);
        QSignalSpy reported(second, &WebFetch::finished);
        delete first;
        QVERIFY(reported.wait());
        QCOMPARE(dropped.size(), 0);
        QCOMPARE(reported.size(), 1);
    }

    // The window's handler may throw the fetch away at once, inside the report.
    void receiverMayDeleteTheFetchInItsSlot() {
        WebServer web;
        web.answer("/page", 200, "ok");
        QObject owner;
        WebFetch* fetch = Start(web.url("/page"), &owner);
        QByteArray body;
        connect(fetch, &WebFetch::finished, &owner, [&body, fetch](const FetchResult& result) {
            body = result.body;
            delete fetch;
        });
        QTRY_COMPARE(body, QByteArray("ok"));
        QTRY_VERIFY(owner.children().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWebFetch)
#include "tst_webfetch.moc"
