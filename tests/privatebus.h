// A session bus of the test's own, so that no test reaches the user's, and the desktop's
// screensaver service as a stand-in that records what it is asked.
#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QThread>

namespace ovelo::testing {

class PrivateBus {
  public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    QString address() const { return address_; }
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name);
    }

  private:
    QProcess daemon_;
    QString address_;
};

// Answers from a thread of its own: a program's release at exit waits for the answer.
class StandInScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
  public:
    explicit StandInScreenSaver(const PrivateBus& bus) {
        thread_.start();
        moveToThread(&thread_);
        QDBusConnection connection = bus.connect("screensaver");
        connection.registerObject("/org/freedesktop/ScreenSaver", this,
                                  QDBusConnection::ExportAllSlots);
        registered_ = connection.registerService("org.freedesktop.ScreenSaver");
    }
    ~StandInScreenSaver() override {
        QDBusConnection::disconnectFromBus("screensaver");
        thread_.quit();
        thread_.wait();
    }
    bool registered() const { return registered_; }
    QStringList calls() const {
        QMutexLocker lock(&mutex_);
        return calls_;
    }
    // The inhibitions granted and not released yet.
    int held() const {
        QMutexLocker lock(&mutex_);
        return int(held_.size());
    }

  public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        QMutexLocker lock(&mutex_);
        calls_ << QString("Inhibit(%1, %2)").arg(application, reason);
        held_.insert(next_);
        return next_++;
    }
    void UnInhibit(uint cookie) {
        QMutexLocker lock(&mutex_);
        calls_ << QString("UnInhibit(%1)").arg(cookie);
        held_.remove(cookie);
    }

  private:
    QThread thread_;
    mutable QMutex mutex_;
    QStringList calls_;
    QSet<uint> held_;
    uint next_ = 1;
    bool registered_ = false;
};

} // namespace ovelo::testing
