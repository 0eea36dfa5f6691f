// The desktop's tools that the tests drive the real program with, as a user's desktop does:
// xdotool for its windows on the X server, playerctl for its media controls on the bus.
#pragma once

#include "privatebus.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

namespace ovelo::testing {

// Runs a tool to its end, for 5 s at most, and gives what it printed.
inline QString RunTool(const QString& program, const QStringList& args,
                       const QString& busAddress = {}) {
    QProcess p;
    if (!busAddress.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        p.setProcessEnvironment(env);
    }
    p.start(program, args);
    if (!p.waitForFinished(5000))
        p.kill();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

inline QString Xdotool(const QStringList& args) {
    return RunTool("xdotool", args);
}

inline QString Playerctl(const PrivateBus& bus, const QStringList& args) {
    return RunTool("playerctl", QStringList{"--player=ovelo"} + args, bus.address());
}

// Asks `condition` every 40 ms until it holds, or false after `boundMs`: for conditions that
// cost a process or a screen grab to ask, which QTest::qWaitFor would ask every 10 ms.
template <typename Condition> bool Poll(Condition condition, int boundMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > boundMs)
            return false;
        QTest::qWait(40);
    }
    return true;
}

// The windows of one process, found by their titles.
class ProcessWindows {
  public:
    explicit ProcessWindows(const QProcess& process) : process_(process) {}

    // The visible windows whose titles match, as they are now; "" matches all.
    QStringList visible(const QString& titlePattern = {}) const {
        return Xdotool({"search", "--all", "--onlyvisible", "--pid",
                        QString::number(process_.processId()), "--name", titlePattern})
            .split('\n', Qt::SkipEmptyParts);
    }
    bool shows(const QString& titlePattern) const { return !visible(titlePattern).isEmpty(); }
    // A visible window whose title matches, once there is one; 0 when none came within the
    // bound.
    WId window(const QString& titlePattern, int boundMs = 5000) const {
        QStringList found;
        Poll([&] { return !(found = visible(titlePattern)).isEmpty(); }, boundMs);
        return found.isEmpty() ? 0 : found.first().toULongLong();
    }
    static QString title(WId window) { return Xdotool({"getwindowname", QString::number(window)}); }
    static void focus(WId window) { Xdotool({"windowfocus", "--sync", QString::number(window)}); }
    static void key(WId window, const QString& keys) {
        focus(window);
        Xdotool({"key", "--clearmodifiers", keys});
    }

  private:
    const QProcess& process_;
};

} // namespace ovelo::testing
