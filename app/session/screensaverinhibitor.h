// Keeps the screensaver and the display's power saving off while asked to: through the desktop's
// org.freedesktop.ScreenSaver service on the session bus, or, where the bus has no such service,
// through the X server's screensaver extension. Where neither exists nothing happens.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <optional>

class QDBusPendingCallWatcher;

namespace ovelo {

class ScreenSaverInhibitor : public QObject {
    Q_OBJECT
  public:
    explicit ScreenSaverInhibitor(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);
    // Releases what it holds before the program goes.
    ~ScreenSaverInhibitor() override;

    // Cheap to call on every tick: only a change reaches the desktop.
    void setInhibited(bool inhibited);
    bool isInhibited() const { return wanted_; }

  private:
    void askBus();
    void onBusAnswer(QDBusPendingCallWatcher* call);
    void releaseBus(bool waitForIt);
    void suspendX(bool suspend);

    QDBusConnection bus_;
    bool wanted_ = false;
    // The service's cookie for the inhibition it holds for us.
    std::optional<quint32> cookie_;
    QDBusPendingCallWatcher* asking_ = nullptr;
    // Once the bus said it has no such service, the X server is asked instead.
    bool busRefused_ = false;
    bool xSuspended_ = false;
};

} // namespace ovelo
