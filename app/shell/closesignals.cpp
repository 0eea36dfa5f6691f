#include "closesignals.h"

#include <QLoggingCategory>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSignals, "ovelo.signals", QtWarningMsg)

namespace ovelo {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only touch these: a descriptor and a flag, no locks, no allocation.
int g_writeEnd = -1;
std::atomic<bool> g_closing{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnCloseSignal(int sig) {
    if (g_closing.exchange(true)) {
        // Already closing: this one ends the process as an unhandled signal would.
        std::signal(sig, SIG_DFL);
        ::raise(sig);
        return;
    }
    const int saved = errno;
    const char byte = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

CloseSignals::CloseSignals(std::function<void()> close, QObject* parent)
    : QObject(parent), close_(std::move(close)) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) {
        qCWarning(lcSignals) << "no socket pair: signals end the program at once";
        return;
    }
    g_writeEnd = fds[0];
    notifier_ = new QSocketNotifier(fds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CloseSignals::onSignal);
    struct sigaction action = {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
}

CloseSignals::~CloseSignals() {
    if (!notifier_)
        return;
    for (int sig : kSignals)
        std::signal(sig, SIG_DFL);
    ::close(int(notifier_->socket()));
    ::close(g_writeEnd);
    g_writeEnd = -1;
}

void CloseSignals::onSignal() {
    char bytes[16];
    while (::read(int(notifier_->socket()), bytes, sizeof bytes) > 0) {
    }
    if (done_)
        return;
    done_ = true;
    close_();
}

} // namespace ovelo
