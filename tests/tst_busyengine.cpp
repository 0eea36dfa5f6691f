// An engine whose core is stuck must not take the user interface with it. The core is stuck on
// purpose: its sound goes to a FIFO that nobody reads yet, and opening one for writing waits for
// a reader, inside the core, as a sound library that never returns from its start would.
#include "movie/engineend.h"
#include "movie/playermovie.h"
#include "velmoracontrol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using flv::VelmoraControl;

namespace {

// A call "at once", with room for a busy machine; a call that waits for the core waits until
// the FIFO is read, seconds later.
constexpr qint64 kAtOnceMs = 100;
// The timer's interval and how late a tick may come.
constexpr int kTickMs = 50;
constexpr qint64 kLongestStallMs = 100;

QString Media(const char* name) {
    return QStringLiteral(TEST_MEDIA_DIR "/") + name;
}

// Whether some thread of this process waits in open() or openat(): the core opening the FIFO.
bool SomeThreadOpening() {
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks.filePath(tid + QStringLiteral("/syscall")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray number = file.readAll().split(' ').value(0);
        if (number == "257" || number == "2")
            return true;
    }
    return false;
}

// Reads the FIFO once released, or after a deadline, so that a regression fails the test with
// its measured waits instead of hanging it.
class FifoReader {
  public:
    explicit FifoReader(QString path) : path_(std::move(path)), thread_([this] { run(); }) {}
    ~FifoReader() {
        release();
        thread_.join();
    }
    void release() {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    void run() {
        {
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, std::chrono::seconds(20), [this] { return released_; });
        }
        const int fd = ::open(path_.toLocal8Bit().constData(), O_RDONLY);
        if (fd < 0)
            return;
        // Until the writer closes: a reader gone early would end the writer with SIGPIPE.
        char buffer[65536];
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        ::close(fd);
    }

    QString path_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    std::thread thread_;
};

// The longest gap between two ticks of a 50 ms timer on this thread.
class Heartbeat : public QObject {
  public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kTickMs);
        connect(&timer_, &QTimer::timeout, this, [this] {
            longestGap_ = std::max(longestGap_, since_.restart());
            ++ticks_;
        });
        since_.start();
        timer_.start();
    }
    qint64 longestGap() const { return longestGap_; }
    int ticks() const { return ticks_; }

  private:
    QTimer timer_;
    QElapsedTimer since_;
    qint64 longestGap_ = 0;
    int ticks_ = 0;
};

// Processor time this process has used, all threads together.
qint64 CpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

template <typename F> qint64 Timed(F&& call) {
    QElapsedTimer timer;
    timer.start();
    call();
    return timer.elapsed();
}

} // namespace

class TestBusyEngine : public QObject {
    Q_OBJECT
  private slots:
    void callsAndDeletionReturnWhileTheCoreIsStuck_data() {
        QTest::addColumn<flv::SurfaceKind>("surface");
        QTest::newRow("no picture") << flv::SurfaceKind::Null;
        // Its render context must go before the handle, and cannot while the core is stuck.
        QTest::newRow("software picture") << flv::SurfaceKind::Software;
    }

    void callsAndDeletionReturnWhileTheCoreIsStuck() {
        QFETCH(flv::SurfaceKind, surface);
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("sound"));
        QVERIFY(::mkfifo(fifo.toLocal8Bit().constData(), 0600) == 0);
        FifoReader reader(fifo);
        const flv::EngineOptions options{{"ao", "pcm"}, {"ao-pcm-file", fifo.toUtf8()}};
        auto* control = new VelmoraControl(nullptr, [&options, surface](QObject* parent) {
            return new flv::PlayerMovie(surface, parent, options);
        });
        control->resize(320, 240);
        control->PlayMovie(Media("long.flv"));
        QTRY_VERIFY_WITH_TIMEOUT(SomeThreadOpening(), 10000);

        Heartbeat heartbeat;
        QHash<QString, qint64> took;
        took["poll"] = Timed([&] { control->CallMovieFunction("getinfo", {}); });
        took["PauseMovie"] = Timed([&] { control->PauseMovie(); });
        took["Volume"] = Timed([&] { control->SetVolume(30); });
        took["GotoTime"] = Timed([&] { control->GotoTime(3); });
        took["BufferTime"] = Timed([&] { control->SetBufferTime(2); });
        took["StopMovie"] = Timed([&] { control->StopMovie(); });
        took["PlayMovie"] = Timed([&] { control->PlayMovie(Media("h264_aac.flv")); });
        // The control's own 50 ms poll goes on meanwhile.
        QTRY_VERIFY(heartbeat.ticks() >= 10);
        took["delete"] = Timed([&] { delete control; });
        // What is still ending sleeps: nothing spins while it waits for the core.
        const qint64 cpuBefore = CpuMs();
        QElapsedTimer wall;
        wall.start();
        QTRY_VERIFY(heartbeat.ticks() >= 26);
        const qint64 cpu = CpuMs() - cpuBefore;
        QVERIFY2(cpu < wall.elapsed() / 2,
                 qPrintable(QStringLiteral("%1 ms of processor time in %2 ms after the delete")
                                .arg(cpu)
                                .arg(wall.elapsed())));
        for (auto it = took.cbegin(); it != took.cend(); ++it)
            QVERIFY2(it.value() < kAtOnceMs,
                     qPrintable(QStringLiteral("%1 took %2 ms").arg(it.key()).arg(it.value())));
        QVERIFY2(heartbeat.longestGap() <= kTickMs + kLongestStallMs,
                 qPrintable(QStringLiteral("a tick came %1 ms after the one before")
                                .arg(heartbeat.longestGap())));
        QVERIFY(SomeThreadOpening());
        QCOMPARE(flv::EnginesEnding(), 1);

        // The process's end waits only so long for an engine that does not end.
        QElapsedTimer bounded;
        bounded.start();
        QVERIFY(!flv::WaitForEnginesToEnd(std::chrono::milliseconds(200)));
        QVERIFY(bounded.elapsed() < 2000);

        // Once the core can go on, the engine ends by itself.
        reader.release();
        QVERIFY(flv::WaitForEnginesToEnd(std::chrono::seconds(20)));
    }
};

QTEST_MAIN(TestBusyEngine)
#include "tst_busyengine.moc"
