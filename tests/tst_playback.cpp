// Real playback through the real engine (null outputs), as a host sees it.
#include "movie/playermovie.h"
#include "movie/videosurface.h"
#include "velmoracontrol.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using namespace flv;

namespace {

QString Media(const char* name) {
    return QStringLiteral(TEST_MEDIA_DIR "/") + name;
}

QStringList States(const QSignalSpy& spy) {
    QStringList out;
    for (const auto& args : spy)
        out << args.at(0).toString();
    return out;
}

// Reports of loaded bytes came, and each says no fewer than the one before.
bool Growing(const QSignalSpy& bytes) {
    qint32 previous = 0;
    for (const auto& b : bytes) {
        if (b.at(1).toInt() < previous)
            return false;
        previous = b.at(1).toInt();
    }
    return !bytes.isEmpty();
}

// A control whose engine's answers the test counts. The control asks for the figures every
// 50 ms and each answer has one "time" report: a test that must see that nothing changes waits
// for the control's own polls, which a busy machine slows down as much as the engine.
struct Player {
    Player()
        : control(nullptr, [this](QObject* parent) {
              auto* engine = new PlayerMovie(ChooseSurfaceKind(), parent);
              QObject::connect(engine, &MovieEngine::FSCommand, engine,
                               [this](const QString& command) { polls += command == "time"; });
              return engine;
          }) {}
    // Waits for `n` more polls.
    bool polled(int n) {
        const int until = polls + n;
        return QTest::qWaitFor([&] { return polls >= until; }, 5000);
    }
    // Whether the position holds over the next `n` polls.
    bool holds(int n) {
        const float at = control.CurrentTime();
        return polled(n) && control.CurrentTime() == at;
    }
    // The position comes to rest within the bound: it holds over `n` polls in a row. A starved
    // engine can stand still for a poll or two before it takes in what it was told and moves
    // once more, so a short hold proves nothing, and the check is made once per try (a QTRY
    // macro checks again after a success, and a second hold was not what it had found).
    bool comesToRest(int n, int boundMs = 8000) {
        return QTest::qWaitFor([&] { return holds(n); }, boundMs);
    }
    int polls = 0;
    VelmoraControl control;
};

// Serves one file on 127.0.0.1 to any GET; honours a simple Range so seeks work.
class FileServer : public QTcpServer {
  public:
    // chunk > 0 trickles the body out, that many bytes every 250 ms, as a slow server does.
    explicit FileServer(QByteArray body, int chunk = 0) : body_(std::move(body)), chunk_(chunk) {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString url(const char* name) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(name);
    }

  private:
    void answer(QTcpSocket* s) {
        const QByteArray request = s->readAll();
        qint64 from = 0;
        const int range = request.indexOf("Range: bytes=");
        if (range >= 0)
            from = request.mid(range + 13).split('-').first().toLongLong();
        from = std::clamp<qint64>(from, 0, body_.size());
        QByteArray head = from ? "HTTP/1.1 206 Partial Content\r\n" : "HTTP/1.1 200 OK\r\n";
        head += "Content-Type: video/x-flv\r\nAccept-Ranges: bytes\r\nContent-Length: " +
                QByteArray::number(body_.size() - from) + "\r\n";
        if (from)
            head += "Content-Range: bytes " + QByteArray::number(from) + "-" +
                    QByteArray::number(body_.size() - 1) + "/" + QByteArray::number(body_.size()) +
                    "\r\n";
        s->write(head + "Connection: close\r\n\r\n");
        if (chunk_ <= 0) {
            s->write(body_.mid(from));
            s->disconnectFromHost();
            return;
        }
        auto* timer = new QTimer(s);
        connect(timer, &QTimer::timeout, s, [this, s, timer, from]() mutable {
            s->write(body_.mid(from, chunk_));
            from += chunk_;
            if (from >= body_.size()) {
                timer->stop();
                s->disconnectFromHost();
            }
        });
        timer->start(250);
    }
    QByteArray body_;
    int chunk_ = 0;
};

} // namespace

class TestPlayback : public QObject {
    Q_OBJECT
  private slots:
    void playsEachFormatToTheEnd_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("sorenson+mp3") << Media("sorenson_mp3.flv");
        QTest::newRow("sorenson+nellymoser") << Media("sorenson_nelly.flv");
        QTest::newRow("h264+aac flv") << Media("h264_aac.flv");
        QTest::newRow("h264+aac f4v") << Media("h264_aac.f4v");
    }
    void playsEachFormatToTheEnd() {
        QFETCH(QString, file);
        Player p;
        VelmoraControl& control = p.control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        QSignalSpy progress(&control, &VelmoraControl::PlayProgress);
        QSignalSpy bytes(&control, &VelmoraControl::ButterProgress);
        control.PlayMovie(file);
        QCOMPARE(States(states), QStringList{"Play"});
        QTRY_COMPARE_WITH_TIMEOUT(States(states), QStringList({"Play", "Play"}), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(progress.count() > 5, 5000);
        QVERIFY(qAbs(control.TotalTime() - 4) <= 1);
        QCOMPARE(control.TotalBytes(), qint32(QFileInfo(file).size()));
        QCOMPARE(control.LoadedBytes(), control.TotalBytes());
        QVERIFY(!bytes.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(States(states), QStringList({"Play", "Play", "Stop"}), 10000);
        // The finished stream keeps answering with its last figures until it is stopped.
        QVERIFY(p.polled(4));
        QVERIFY(control.CurrentTime() > 3.0f);
        QCOMPARE(control.TotalTime(), 4);
        QCOMPARE(control.TotalBytes(), qint32(QFileInfo(file).size()));
        QCOMPARE(control.LoadedBytes(), control.TotalBytes());
        control.StopMovie();
        QTRY_VERIFY(control.CurrentTime() == 0.0f && control.TotalTime() == 0);
        float last = -1;
        for (const auto& p : progress) {
            const float t = p.at(1).toFloat();
            if (t > 0)
                QVERIFY2(t >= last, "positions go forward");
            if (t > 0)
                last = t;
        }
        QVERIFY(last > 3.0f);
    }

    void pauseToggles() {
        Player p;
        VelmoraControl& control = p.control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(Media("long.flv"));
        QTRY_COMPARE_WITH_TIMEOUT(states.count(), 2, 5000);
        control.PauseMovie();
        QCOMPARE(control.State(), QString("Pause"));
        // The engine stops within a frame or two; from then on the position holds.
        QVERIFY(p.comesToRest(6));
        QVERIFY(p.holds(6));
        const float frozen = control.CurrentTime();
        control.PauseMovie();
        QCOMPARE(control.State(), QString("Play"));
        QTRY_VERIFY_WITH_TIMEOUT(control.CurrentTime() > frozen, 3000);
        control.GotoTime(9);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(control.CurrentTime() - 9) < 1.0f, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(control.State(), QString("Stop"), 8000);
        // Pausing what has ended reports nothing, at once or at the next polls.
        const int before = states.count();
        control.PauseMovie();
        QVERIFY(p.polled(2));
        QCOMPARE(states.count(), before);
    }

    void stopAndReplaceGiveNoStrayStop() {
        Player p;
        VelmoraControl& control = p.control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(Media("long.flv"));
        QTRY_COMPARE_WITH_TIMEOUT(states.count(), 2, 5000);
        control.PlayMovie(Media("h264_aac.flv"));
        QTRY_COMPARE_WITH_TIMEOUT(states.count(), 4, 5000);
        QCOMPARE(States(states), QStringList({"Play", "Play", "Play", "Play"}));
        // The stop's own report, and no other: a late one for the replaced file would come
        // too, before or after it, by the next polls.
        control.StopMovie();
        QVERIFY(p.polled(6));
        QCOMPARE(States(states).mid(4), QStringList{"Stop"});
        QCOMPARE(control.Movie(), QString());
    }

    void badFilesGiveFlvNotFound() {
        QTemporaryDir dir;
        const QString text = dir.filePath("notes.flv");
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4000, 'x'));
        f.close();
        const QString control1B = dir.filePath(QString("missing") + QChar(0x01) + QChar(0x1B));
        for (const QString& file : {dir.filePath("missing.flv"), control1B, text}) {
            Player p;
            VelmoraControl& control = p.control;
            QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
            control.PlayMovie(file);
            QTRY_COMPARE_WITH_TIMEOUT(States(states), QStringList({"Play", "FlvNotFound"}), 5000);
            QCOMPARE(control.Movie(), file);
            QVERIFY(p.polled(3));
            QCOMPARE(control.TotalTime(), 0);
        }
    }

    void truncatedFileEndsInStop() {
        QTemporaryDir dir;
        QFile source(Media("long.flv"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QString cut = dir.filePath("cut.flv");
        QFile out(cut);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(source.read(source.size() / 4));
        out.close();
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(cut);
        QTRY_VERIFY_WITH_TIMEOUT(States(states).contains("Stop"), 10000);
    }

    void oddCharactersInThePath_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("markup and CJK") << QString("a&b<c>'\"d 视频.flv");
        QTest::newRow("control characters")
            << QString("a") + QChar(0x01) + "b" + QChar(0x1B) + "c.flv";
    }
    void oddCharactersInThePath() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString odd = dir.filePath(name);
        QVERIFY(QFile::copy(Media("h264_aac.flv"), odd));
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(odd);
        QCOMPARE(control.Movie(), odd);
        QTRY_COMPARE_WITH_TIMEOUT(States(states), QStringList({"Play", "Play"}), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(control.CurrentTime() > 0.2f, 5000);
    }

    void playsOverHttp() {
        QFile file(Media("long.flv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        FileServer server(file.readAll());
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        QSignalSpy bytes(&control, &VelmoraControl::ButterProgress);
        control.PlayMovie(server.url("long.flv"));
        QTRY_COMPARE_WITH_TIMEOUT(States(states), QStringList({"Play", "Play"}), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(control.TotalBytes(), qint32(file.size()), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(control.LoadedBytes(), control.TotalBytes(), 10000);
        QVERIFY(Growing(bytes));
        control.StopMovie();
    }

    void hostSequences() {
        Player p;
        VelmoraControl& control = p.control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        // A seek asked for in the same breath as the play lands once the file is open.
        control.PlayMovie(Media("long.flv"));
        control.GotoTime(6);
        QTRY_COMPARE_WITH_TIMEOUT(States(states), QStringList({"Play", "Play"}), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(control.CurrentTime() >= 6.0f, 5000);
        QVERIFY(control.CurrentTime() < 9.0f);
        // Playing the empty name unloads: "Play" and nothing after it, neither Stop nor
        // a missing file.
        control.PlayMovie("");
        QCOMPARE(control.Movie(), QString());
        // Once the unload has settled, the position holds and no state follows.
        QVERIFY(p.comesToRest(6));
        QVERIFY(p.holds(8));
        QCOMPARE(States(states), QStringList({"Play", "Play", "Play"}));
    }

    void placeAskedWithThePlayIsReadWhileOnTheWay() {
        // Until the player has got to a place asked for with the play, the position read is
        // that place, not the file's start: a host that hands the position on meanwhile
        // (leaving full screen at once) would send its player back to the beginning. A server
        // that trickles the file makes the way there long.
        QFile file(Media("long.flv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        FileServer server(file.readAll(), 1500);
        Player p;
        VelmoraControl& control = p.control;
        QSignalSpy progress(&control, &VelmoraControl::PlayProgress);
        control.PlayMovie(server.url("long.flv"));
        control.GotoTime(6);
        QList<float> positions;
        for (int poll = 0; poll < 12; ++poll) {
            QVERIFY(p.polled(1));
            positions << control.CurrentTime();
        }
        for (const QList<QVariant>& report : progress)
            positions << report.at(1).toFloat();
        const float least = *std::ranges::min_element(positions);
        QVERIFY2(least >= 6.0f, qPrintable(QString("read %1").arg(least)));
        control.StopMovie();
    }

    void slowServerRunsTheBufferEmpty() {
        QFile file(Media("long.flv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        // 6 KB/s for a file that plays 15 KB/s: playback catches up with the download.
        FileServer server(file.readAll(), 1500);
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        QSignalSpy bytes(&control, &VelmoraControl::ButterProgress);
        control.PlayMovie(server.url("long.flv"));
        // The wait for the first bytes shows "Empty" too; this is the one after the start.
        const auto emptyAfterStart = [&] {
            const QStringList seen = States(states);
            const qsizetype started = seen.indexOf("Play", 1);
            return started > 0 && seen.indexOf("Empty", started) > started;
        };
        QTRY_VERIFY_WITH_TIMEOUT(emptyAfterStart(), 20000);
        QCOMPARE(control.TotalBytes(), qint32(file.size()));
        QVERIFY(Growing(bytes));
        // Part of the file, not all of it and not nothing, has arrived.
        QVERIFY(control.LoadedBytes() > 0);
        QVERIFY(control.LoadedBytes() < control.TotalBytes());
        control.StopMovie();
    }
};

QTEST_MAIN(TestPlayback)
#include "tst_playback.moc"
