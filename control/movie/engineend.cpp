#include "engineend.h"

#include "softwarerenderer.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <condition_variable>
#include <mpv/client.h>
#include <mutex>
#include <thread>

Q_LOGGING_CATEGORY(lcEnding, "ovelo.mpv.ending", QtWarningMsg)

namespace flv {

namespace {

struct Endings {
    std::mutex mutex;
    std::condition_variable allDone;
    int running = 0;
    bool exitWaitRegistered = false;
};

// Never destroyed: a thread still stuck in mpv when the process ends must not find it gone.
Endings& State() {
    static auto* endings = new Endings;
    return *endings;
}

void WaitAtExit() {
    if (!WaitForEnginesToEnd(kEndingAtExitBound))
        qCWarning(lcEnding) << EnginesEnding() << "engine(s) did not end; left to the exit";
}

} // namespace

void EndEngine(mpv_handle* handle, std::unique_ptr<SoftwareRenderer> renderer,
               std::vector<std::function<void()>> afterwards) {
    if (!handle && !renderer && afterwards.empty())
        return;
    Endings& endings = State();
    {
        const std::lock_guard lock(endings.mutex);
        ++endings.running;
        // Run from QCoreApplication's destructor, while Qt's threads can still be stopped.
        if (!endings.exitWaitRegistered && QCoreApplication::instance()) {
            endings.exitWaitRegistered = true;
            qAddPostRoutine(&WaitAtExit);
        }
    }
    std::thread([handle, renderer = std::move(renderer),
                 afterwards = std::move(afterwards)]() mutable {
        // The render context goes before the handle it was made from.
        renderer.reset();
        if (handle)
            mpv_terminate_destroy(handle);
        for (auto& task : afterwards)
            task();
        Endings& state = State();
        const std::lock_guard lock(state.mutex);
        --state.running;
        state.allDone.notify_all();
    }).detach();
}

int EnginesEnding() {
    Endings& endings = State();
    const std::lock_guard lock(endings.mutex);
    return endings.running;
}

bool WaitForEnginesToEnd(std::chrono::milliseconds bound) {
    Endings& endings = State();
    std::unique_lock lock(endings.mutex);
    return endings.allDone.wait_for(lock, bound, [&endings] { return endings.running == 0; });
}

} // namespace flv
