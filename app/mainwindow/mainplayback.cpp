// The main window's playback commands and status display.
#include "mainwindow/mainwindow.h"
#include "mainwindow/opendialog.h"
#include "mainwindow/statuspanels.h"
#include "mainwindow/webopener.h"
#include "platform/caption.h"
#include "platform/rounding.h"
#include "product.h"
#include "settings/config.h"
#include "settings/webaddresses.h"
#include "windows/coordinator.h"
#include "windows/fullscreenwindow.h"
#include "windows/settingsdialog.h"

#include "flv/velmora.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QSlider>
#include <cmath>
#include <limits>

namespace ovelo {

namespace {

QString TimeOfDayText(const QLocale& locale, const QTime& time) {
    // The system's long time format without the zone: 14:03:22.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

} // namespace

void MainWindow::OpenFile(int plays) {
    if (chooseFile_) {
        PlayChosenFile(chooseFile_(this), plays);
        return;
    }
    // The tray's 打开文件 still reaches a window the dialog blocks: it finds the same dialog.
    if (openDialog_) {
        openDialog_->raise();
        openDialog_->activateWindow();
        return;
    }
    QFileDialog* dialog = CreateOpenDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    openDialog_ = dialog;
    connect(dialog, &QFileDialog::finished, this, [this, dialog, plays](int result) {
        const bool accepted = result == QDialog::Accepted;
        PlayChosenFile(accepted ? dialog->selectedFiles().value(0) : QString(), plays);
    });
    // Window-modal: the main window waits for the answer, the rest of the program does not.
    dialog->open();
}

void MainWindow::PlayChosenFile(const QString& chosen, int plays) {
    // A cancelled dialog leaves the video as it was.
    if (!chosen.isEmpty())
        for (int i = 0; i < plays; ++i)
            player_->PlayMovie(QDir::toNativeSeparators(chosen));
    // From the tray the user came for the window, whatever the dialog's answer.
    if (plays > 1)
        ShowAndFocus();
}

void MainWindow::ResumeSavedPosition() {
    const QString autoSave = ReadSetting(ini::AutoSave);
    const QString url = ReadSetting(ini::MediaUrl);
    const QString time = ReadSetting(ini::MediaTime);
    if (autoSave == QLatin1String(ini::Off)) {
        auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("警告"),
                                    QStringLiteral("您未启动自动保存!"), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    if (autoSave != QLatin1String(ini::On))
        return;
    player_->PlayMovie(url);
    bool ok = false;
    const double seconds = QLocale::c().toDouble(time.trimmed(), &ok);
    if (!ok || !std::isfinite(seconds))
        return;
    player_->GotoTime(RoundEven(seconds));
    sl1_->setValue(RoundEven(player_->CurrentTime()));
}

void MainWindow::Sl1Scroll() {
    const int max = sl1_->maximum();
    if (max == 0)
        return;
    // The slider's position is already where the user put it; its value follows later.
    const double position = double(sl1_->sliderPosition()) / max * player_->TotalTime();
    player_->GotoTime(RoundEven(position));
}

void MainWindow::Sl2Scroll() {
    player_->SetVolume(sl2_->sliderPosition());
}

void MainWindow::ShowClock() {
    // The clock shows whole seconds: ten ticks in eleven find the same second, and the epoch
    // second needs no time-zone lookup. A new second brings the date along with it.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second == shown_.clockSecond)
        return;
    shown_.clockSecond = second;
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    s1_->setPanelText(2, QStringLiteral("时间:") + TimeOfDayText(locale, now.time()));
    s1_->setPanelText(3,
                      QStringLiteral("日期:") + locale.toString(now.date(), QLocale::ShortFormat));
}

void MainWindow::Timer1Tick() {
    ShowClock();
    s1_->setPanelText(4, player_->Movie());
    const qint64 max = qint64(player_->TotalTime()) + 1;
    // Qt would pull the minimum down with a maximum below it; the seek slider starts at 0.
    const int top = int(std::clamp<qint64>(max, 0, std::numeric_limits<int>::max()));
    if (sl1_->minimum() != 0 || sl1_->maximum() != top)
        sl1_->setRange(0, top);
    sl2_->setValue(player_->Volume());
    if (sl1_->maximum() == 0)
        sl1_->setMaximum(1000);
    // Every change of a tooltip sends an event through the slider, also one to the same text.
    if (const int volume = player_->Volume(); volume != shown_.volumeTip) {
        shown_.volumeTip = volume;
        sl2_->setToolTip(QStringLiteral("音量:%1%").arg(volume));
    }
    // Full screen would resume a paused movie: the hand-over's pause is a toggle.
    if (mnuqp_)
        mnuqp_->setEnabled(player_->State() != flv::state::Pause);
}

void MainWindow::Timer2Tick() {
    const bool loaded = !player_->Movie().isEmpty();
    const TimeText time{loaded, loaded ? WholeSeconds(player_->CurrentTime()) : 0,
                        loaded ? player_->TotalTime() : 0};
    if (time != shown_.timeText) {
        shown_.timeText = time;
        label3_->setText(loaded ? QStringLiteral("%1/%2").arg(time.seconds).arg(time.total)
                                : QStringLiteral("00:00/00:00"));
    }
    if (auto* settings = windows_.window<SettingsDialog>(WindowId::Settings))
        settings->followShortcutPage();
}

void MainWindow::EnterFullScreen() {
    HandOverToFullScreen(windows_, *this);
}

void MainWindow::SetIdlePicturesVisible(bool visible) {
    for (QWidget* picture : idlePictures())
        picture->setVisible(visible);
}

void MainWindow::UnloadMovie() {
    player_->PlayMovie(QString());
    SetIdlePicturesVisible(true);
}

void MainWindow::flv_PlayProgress(float, float CurrentTime, float) {
    sl1_->setValue(RoundEven(player_->CurrentTime()));
    if (sl1_->value() == sl1_->maximum() - 1)
        sl1_->setValue(RoundEven(CurrentTime));
    if (player_->Movie().isEmpty())
        UnloadMovie();
    else
        SetIdlePicturesVisible(false);
    // One second before the reported end the file is done with.
    if (WholeSeconds(player_->CurrentTime()) == qint64(player_->TotalTime()) - 1)
        UnloadMovie();
}

void MainWindow::flv_OnReadyStateChange(const QString& newState) {
    const QString product = QString::fromLatin1(kProductTitle) + QStringLiteral(" - ");
    if (newState == flv::state::Empty) {
        s1_->setPanelText(1, QStringLiteral("正在缓冲"));
        SetCaption(this, product + QStringLiteral("正在缓冲:") + player_->Movie());
    } else if (newState == flv::state::Play) {
        s1_->setPanelText(1, QStringLiteral("播放"));
        SetCaption(this, product + QStringLiteral("正在播放:") + player_->Movie());
    } else if (newState == flv::state::Pause) {
        s1_->setPanelText(1, QStringLiteral("暂停播放"));
    } else if (newState == flv::state::Stop) {
        s1_->setPanelText(1, QStringLiteral("停止播放"));
        sl1_->setValue(0);
    } else if (newState == flv::state::FlvNotFound) {
        s1_->setPanelText(1, QStringLiteral("播放文件无效或不存在"));
        sl1_->setValue(0);
    }
}

void MainWindow::OpenProductSite() {
    OpenWebAddress(ProductSite());
}

void MainWindow::OpenProductForum() {
    OpenWebAddress(ProductForum());
}

} // namespace ovelo
