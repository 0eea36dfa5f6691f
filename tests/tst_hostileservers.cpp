// Hostile servers on 127.0.0.1 through the real control: each reaches a state within the
// bound, the loaded byte count never runs ahead of what was sent, and a silent server shows
// "Empty" while the player waits.
#include "mediaplay.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace testing;
using flv::VelmoraControl;

namespace {

// Answers every GET the same way: `head`, then `body` in chunks every 100 ms, then either
// silence with the connection open, an endless run of zeros, or a hang-up.
class HostileServer : public QTcpServer {
  public:
    enum class After { Silence, Zeros, HangUp };
    HostileServer(QByteArray head, QByteArray body, After after, int chunk = 16384)
        : head_(std::move(head)), body_(std::move(body)), after_(after), chunk_(chunk) {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/a.flv").arg(serverPort()); }
    qint64 sent = 0; // body bytes handed to the system, all connections together

  private:
    void answer(QTcpSocket* s) {
        s->readAll();
        s->write(head_);
        auto* timer = new QTimer(s);
        connect(timer, &QTimer::timeout, s, [this, s, timer, from = qint64(0)]() mutable {
            QByteArray part = body_.mid(from, chunk_);
            if (part.isEmpty() && after_ == After::Zeros)
                part = QByteArray(chunk_, '\0');
            if (part.isEmpty()) {
                timer->stop();
                if (after_ == After::HangUp)
                    s->disconnectFromHost();
                return;
            }
            from += part.size();
            sent += part.size();
            s->write(part);
        });
        timer->start(100);
    }
    QByteArray head_, body_;
    After after_;
    int chunk_;
};

QByteArray Head(qint64 length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\nContent-Length: " +
           QByteArray::number(length) + "\r\n\r\n";
}

QString Last(const QSignalSpy& states) {
    return states.isEmpty() ? QString() : states.last().at(0).toString();
}

} // namespace

class TestHostileServers : public QObject {
    Q_OBJECT
  private slots:
    void errorAnswerIsNotFound() {
        HostileServer server("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n", {},
                             HostileServer::After::HangUp);
        QCOMPARE(PlayAll({server.url()}, 1).value(server.url()), QString("FlvNotFound"));
    }

    void headersThenNothingShowsEmpty() {
        HostileServer server(Head(1000000), {}, HostileServer::After::Silence);
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(server.url());
        QTRY_COMPARE_WITH_TIMEOUT(Last(states), QString("Empty"), kBoundMs);
        QCOMPARE(control.LoadedBytes(), 0);
        control.StopMovie();
        QCOMPARE(Last(states), QString("Stop"));
    }

    void closeMidBodyEnds() {
        const QByteArray clip = Bytes(TEST_MEDIA_DIR "/h264_aac.flv");
        HostileServer server(Head(clip.size()), clip.first(clip.size() / 2),
                             HostileServer::After::HangUp, 1 << 20);
        QVERIFY(Ended(PlayAll({server.url()}, 1).value(server.url())));
    }

    // A valid head, then zeros without end: the count follows what was sent, and the player
    // waits with an empty buffer.
    void endlessBodyCountsWhatArrived() {
        const QByteArray clip = Bytes(TEST_MEDIA_DIR "/long.flv");
        HostileServer server(Head(2000000000), clip, HostileServer::After::Zeros, 8192);
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        qint64 mostAhead = 0;
        connect(&control, &VelmoraControl::ButterProgress, this, [&](qint32, qint32 loaded) {
            mostAhead = std::max(mostAhead, loaded - server.sent);
        });
        control.PlayMovie(server.url());
        QTRY_VERIFY_WITH_TIMEOUT(states.size() >= 2 && Last(states) == "Play", kBoundMs);
        QTRY_VERIFY_WITH_TIMEOUT(server.sent > clip.size() + 100000, 4 * kBoundMs);
        QTRY_COMPARE_WITH_TIMEOUT(Last(states), QString("Empty"), kBoundMs);
        QCOMPARE(control.TotalBytes(), 2000000000);
        QVERIFY(control.LoadedBytes() > 0);
        QVERIFY2(mostAhead <= 0, qPrintable(QString::number(mostAhead)));
        control.StopMovie();
    }

    void silentServerMidBodyShowsEmpty() {
        const QByteArray clip = Bytes(TEST_MEDIA_DIR "/long.flv");
        HostileServer server(Head(clip.size()), clip.first(clip.size() / 3),
                             HostileServer::After::Silence, 1 << 20);
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(server.url());
        QTRY_VERIFY_WITH_TIMEOUT(states.size() >= 2, kBoundMs);
        QTRY_COMPARE_WITH_TIMEOUT(Last(states), QString("Empty"), kBoundMs);
        QVERIFY(control.LoadedBytes() <= server.sent);
        control.StopMovie();
    }
};

QTEST_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
