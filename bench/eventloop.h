// Waiting and summing up for the benchmarks that drive the real player inside their own process.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <vector>

namespace ovelo::bench {

// Runs the event loop until done() holds: the milliseconds it took, or -1 past the limit.
template <typename Done> qint64 MsUntil(Done done, int limitMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return t.elapsed() < limitMs ? t.elapsed() : -1;
}

// One slow outlier on a shared machine moves a mean, not a median.
template <typename T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? T(-1) : v[v.size() / 2];
}

} // namespace ovelo::bench
