// SIGTERM, SIGINT and SIGHUP (a session's logout, Ctrl+C, a closed terminal) end the program the
// way its own exit does, so what a close saves is saved.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ovelo {

class CloseSignals : public QObject {
    Q_OBJECT
  public:
    // `close` runs on this thread, once, for the first of the signals. A second signal while
    // it runs ends the process at once, as the signal alone would have.
    explicit CloseSignals(std::function<void()> close, QObject* parent = nullptr);
    ~CloseSignals() override;

  private:
    void onSignal();

    std::function<void()> close_;
    QSocketNotifier* notifier_ = nullptr;
    bool done_ = false;
};

} // namespace ovelo
