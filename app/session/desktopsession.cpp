#include "session/desktopsession.h"

#include "session/mediacommands.h"

namespace ovelo {

namespace {

// Well within the second in which a pause must let the screen rest, and far from a storm.
constexpr int kFollowMs = 200;

} // namespace

DesktopSession::DesktopSession(MediaCommands& commands, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), commands_(commands), screenSaver_(bus), mpris_(commands, bus) {
    follow_.setInterval(kFollowMs);
    connect(&follow_, &QTimer::timeout, this, &DesktopSession::follow);
    follow_.start();
}

void DesktopSession::follow() {
    screenSaver_.setInhibited(commands_.videoOnScreen());
    mpris_.refresh();
}

void DesktopSession::end() {
    follow_.stop();
    screenSaver_.setInhibited(false);
}

} // namespace ovelo
