#include "mainwindow/statuspresenter.h"

#include "mainwindow/statuspanels.h"
#include "platform/caption.h"
#include "platform/rounding.h"
#include "product.h"

#include "flv/velmora.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QSlider>
#include <limits>
#include <utility>

namespace ovelo {

namespace {

// Both timers tick this often for the life of the window.
std::chrono::milliseconds statusInterval{100};

QString TimeOfDayText(const QLocale& locale, const QTime& time) {
    // The system's long time format without the zone: 14:03:22.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

// The locale's short date where it is all numbers ("2024/12/8", "12/8/24"); one that spells the
// month ("8 Dec 2024", the C locale's) is too wide for its panel and gives way to ISO 8601.
QString DateText(const QLocale& locale, const QDate& date) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1String("MMM")) || format.contains(QLatin1String("ddd")))
        return date.toString(Qt::ISODate);
    return locale.toString(date, format);
}

} // namespace

StatusPresenter::StatusPresenter(const flv::Velmora& player, const Widgets& widgets,
                                 QObject* parent)
    : QObject(parent), player_(player), widgets_(widgets) {
    statusTimer_.setObjectName("Timer1");
    timeTimer_.setObjectName("Timer2");
    for (QTimer* timer : {&statusTimer_, &timeTimer_})
        timer->setInterval(statusInterval);
    connect(&statusTimer_, &QTimer::timeout, this, &StatusPresenter::onStatusTick);
    connect(&timeTimer_, &QTimer::timeout, this, &StatusPresenter::onTimeTick);
    widgets_.panels->setPanelText(1, QString::fromLatin1(kProductTitle));
    widgets_.panels->panel(1)->setToolTip(QString::fromLatin1(kProductTitle));
}

std::chrono::milliseconds
StatusPresenter::SetIntervalForTesting(std::chrono::milliseconds interval) {
    return std::exchange(statusInterval, interval);
}

void StatusPresenter::start() {
    statusTimer_.start();
    timeTimer_.start();
}

void StatusPresenter::stop() {
    statusTimer_.stop();
    timeTimer_.stop();
}

void StatusPresenter::showClock() {
    // The clock shows whole seconds: ten ticks in eleven find the same second, and the epoch
    // second needs no time-zone lookup. A new second brings the date along with it.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second == clockSecond_)
        return;
    clockSecond_ = second;
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    widgets_.panels->setPanelText(2, tr("时间:%1").arg(TimeOfDayText(locale, now.time())));
    widgets_.panels->setPanelText(3, tr("日期:%1").arg(DateText(locale, now.date())));
}

void StatusPresenter::onStatusTick() {
    showClock();
    widgets_.panels->setPanelText(4, player_.Movie());
    QSlider* seek = widgets_.seekSlider;
    const qint64 max = qint64(player_.TotalTime()) + 1;
    // Qt would pull the minimum down with a maximum below it; the seek slider starts at 0.
    const int top = int(std::clamp<qint64>(max, 0, std::numeric_limits<int>::max()));
    if (seek->minimum() != 0 || seek->maximum() != top)
        seek->setRange(0, top);
    widgets_.volumeSlider->setValue(player_.Volume());
    if (seek->maximum() == 0)
        seek->setMaximum(1000);
    // Every change of a tooltip sends an event through the slider, also one to the same text.
    if (const int volume = player_.Volume(); volume != volumeTip_) {
        volumeTip_ = volume;
        widgets_.volumeSlider->setToolTip(tr("音量:%1%").arg(volume));
    }
    emit statusTick();
}

void StatusPresenter::onTimeTick() {
    const bool loaded = !player_.Movie().isEmpty();
    const TimeText time{loaded, loaded ? WholeSeconds(player_.CurrentTime()) : 0,
                        loaded ? player_.TotalTime() : 0};
    if (time == timeText_)
        return;
    timeText_ = time;
    widgets_.timeText->setText(loaded ? QStringLiteral("%1/%2").arg(time.seconds).arg(time.total)
                                      : QStringLiteral("00:00/00:00"));
}

void StatusPresenter::showPosition(float currentTime) {
    QSlider* seek = widgets_.seekSlider;
    seek->setValue(RoundEven(player_.CurrentTime()));
    if (seek->value() == seek->maximum() - 1)
        seek->setValue(RoundEven(currentTime));
}

void StatusPresenter::showState(const QString& newState) {
    const QString product = QString::fromLatin1(kProductTitle) + QStringLiteral(" - ");
    StatusPanels* panels = widgets_.panels;
    if (newState == flv::state::Empty) {
        panels->setPanelText(1, tr("正在缓冲"));
        SetCaption(widgets_.window, product + tr("正在缓冲:%1").arg(player_.Movie()));
    } else if (newState == flv::state::Play) {
        panels->setPanelText(1, tr("播放"));
        SetCaption(widgets_.window, product + tr("正在播放:%1").arg(player_.Movie()));
    } else if (newState == flv::state::Pause) {
        panels->setPanelText(1, tr("暂停播放"));
    } else if (newState == flv::state::Stop) {
        panels->setPanelText(1, tr("停止播放"));
        widgets_.seekSlider->setValue(0);
    } else if (newState == flv::state::FlvNotFound) {
        panels->setPanelText(1, tr("播放文件无效或不存在"));
        widgets_.seekSlider->setValue(0);
    }
}

} // namespace ovelo
