// Plays many names through real controls (null outputs) side by side, and tells how each ended.
#pragma once

#include "velmoracontrol.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace testing {

// Hang detection, not a speed target: generous on a busy machine.
constexpr int kBoundMs = 10000;

inline bool Ended(const QString& state) {
    return state == flv::state::Stop || state == flv::state::FlvNotFound;
}

inline QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The last state of each name: "Stop" or "FlvNotFound", or "no end: " and the last state seen
// when none came within the bound. Between rounds it waits for the next state report, or for
// the bound of the name that has played longest.
inline QHash<QString, QString> PlayAll(const QStringList& names, int sideBySide = 4) {
    struct Slot {
        std::unique_ptr<flv::VelmoraControl> control = std::make_unique<flv::VelmoraControl>();
        QString name, last;
        QElapsedTimer since;
    };
    std::vector<Slot> players(sideBySide);
    QEventLoop waiting;
    bool reported = false;
    for (Slot& slot : players)
        QObject::connect(slot.control.get(), &flv::VelmoraControl::OnReadyStateChange,
                         [&slot, &reported, &waiting](const QString& s) {
                             slot.last = s;
                             reported = true;
                             waiting.quit();
                         });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &waiting, &QEventLoop::quit);
    QHash<QString, QString> ended;
    qsizetype next = 0;
    for (bool busy = true; busy;) {
        busy = false;
        reported = false;
        qint64 boundLeft = kBoundMs;
        for (Slot& slot : players) {
            if (!slot.name.isEmpty() && Ended(slot.last)) {
                ended.insert(slot.name, slot.last);
                slot.name.clear();
            } else if (!slot.name.isEmpty() && slot.since.elapsed() > kBoundMs) {
                ended.insert(slot.name, "no end: " + slot.last);
                slot.control->StopMovie();
                slot.name.clear();
            }
            if (slot.name.isEmpty() && next < names.size()) {
                slot.name = names[next++];
                slot.last.clear();
                slot.since.start();
                slot.control->PlayMovie(slot.name);
            }
            if (!slot.name.isEmpty()) {
                busy = true;
                boundLeft = std::min(boundLeft, kBoundMs - slot.since.elapsed());
            }
        }
        // A report that came while the round ran is looked at at once.
        if (busy && !reported) {
            bound.start(int(std::max<qint64>(boundLeft, 0)) + 1);
            waiting.exec();
        }
    }
    return ended;
}

// The most memory this process has held, in MiB.
inline qint64 PeakMemoryMiB() {
    for (const QByteArray& line : Bytes("/proc/self/status").split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

} // namespace testing
