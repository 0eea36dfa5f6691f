#include "session/screensaverinhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

Q_LOGGING_CATEGORY(lcScreenSaver, "ovelo.screensaver", QtWarningMsg)

namespace ovelo {

namespace {

const char kService[] = "org.freedesktop.ScreenSaver";
const char kPath[] = "/org/freedesktop/ScreenSaver";
const char kInterface[] = "org.freedesktop.ScreenSaver";
// A release at exit must not hold the program's end for long.
constexpr int kReleaseAtExitMs = 1000;

QDBusMessage ScreenSaverCall(const char* method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

Display* XDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus), busRefused_(!bus.isConnected()) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    // An answer still on its way would leave the service holding an inhibition nobody releases.
    if (asking_)
        asking_->waitForFinished();
    wanted_ = false;
    releaseBus(true);
    suspendX(false);
}

void ScreenSaverInhibitor::setInhibited(bool inhibited) {
    if (inhibited == wanted_)
        return;
    wanted_ = inhibited;
    qCDebug(lcScreenSaver) << (inhibited ? "holding the screensaver off" : "releasing it");
    if (!inhibited) {
        releaseBus(false);
        suspendX(false);
    } else if (busRefused_) {
        suspendX(true);
    } else if (!cookie_ && !asking_) {
        askBus();
    }
}

void ScreenSaverInhibitor::askBus() {
    QDBusMessage call = ScreenSaverCall("Inhibit");
    call << QGuiApplication::applicationDisplayName() << QStringLiteral("Playing a video");
    asking_ = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(asking_, &QDBusPendingCallWatcher::finished, this, &ScreenSaverInhibitor::onBusAnswer);
}

void ScreenSaverInhibitor::onBusAnswer(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    asking_ = nullptr;
    const QDBusPendingReply<quint32> reply = *call;
    if (reply.isError()) {
        qCDebug(lcScreenSaver) << "no screensaver service on the bus:" << reply.error().name();
        busRefused_ = true;
        suspendX(wanted_);
        return;
    }
    cookie_ = reply.value();
    // Paused or stopped while the question was on its way.
    if (!wanted_)
        releaseBus(false);
}

void ScreenSaverInhibitor::releaseBus(bool waitForIt) {
    if (!cookie_)
        return;
    QDBusMessage call = ScreenSaverCall("UnInhibit");
    call << *cookie_;
    cookie_.reset();
    if (waitForIt)
        bus_.call(call, QDBus::Block, kReleaseAtExitMs);
    else
        bus_.asyncCall(call);
}

void ScreenSaverInhibitor::suspendX(bool suspend) {
    if (suspend == xSuspended_)
        return;
    Display* display = XDisplay();
    int event = 0, error = 0;
    if (!display || !XScreenSaverQueryExtension(display, &event, &error)) {
        qCDebug(lcScreenSaver) << "no X screensaver extension: the screen may blank";
        return;
    }
    // Suspending also holds off the display's power saving (DPMS).
    XScreenSaverSuspend(display, suspend ? True : False);
    XFlush(display);
    xSuspended_ = suspend;
}

} // namespace ovelo
