// The main window's status display: the clock and date, the file, the seek and volume sliders
// and the time text follow the player on two 100 ms timers; the status text and the title
// follow its state reports.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <optional>

class QLabel;
class QSlider;
class QWidget;

namespace flv {
class Velmora;
}

namespace ovelo {

class StatusPanels;

class StatusPresenter : public QObject {
    Q_OBJECT
  public:
    struct Widgets {
        QWidget* window; // its title
        QSlider* seekSlider;
        QSlider* volumeSlider;
        QLabel* timeText;
        StatusPanels* panels;
    };
    StatusPresenter(const flv::Velmora& player, const Widgets& widgets, QObject* parent = nullptr);

    void start();
    void stop();
    // For tests, which wait for ticks: the interval of the presenters made from now on. Returns
    // the one it replaces.
    static std::chrono::milliseconds SetIntervalForTesting(std::chrono::milliseconds interval);
    // The player's reports.
    void showState(const QString& newState);
    void showPosition(float currentTime);

  signals:
    // Each status tick: what depends on the player's state (a command's enabling) looks again.
    void statusTick();

  private:
    void onStatusTick();
    void onTimeTick();
    void showClock();

    const flv::Velmora& player_;
    Widgets widgets_;
    QTimer statusTimer_;
    QTimer timeTimer_;
    // What the ticks showed last: a tick that finds the same skips the formatting.
    struct TimeText {
        bool loaded = false;
        qint64 seconds = 0;
        qint32 total = 0;
        bool operator==(const TimeText&) const = default;
    };
    qint64 clockSecond_ = -1;
    int volumeTip_ = -1;
    std::optional<TimeText> timeText_;
};

} // namespace ovelo
