// The main window's playback commands and status display.
#include "layout/layout.h"
#include "mainwindow.h"
#include "platform/programfolder.h"
#include "platform/weblinks.h"
#include "settings/inifile.h"
#include "statuspanels.h"

#include "flv/velmora.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QSlider>
#include <QUrl>
#include <cmath>
#include <limits>

namespace ovelo {

namespace {

// Halves go to the even neighbour; out of range saturates.
int RoundEven(double v) {
    if (!std::isfinite(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

qint64 WholeSeconds(float seconds) {
    return std::isfinite(seconds) ? qint64(std::floor(seconds)) : 0;
}

QString TimeOfDayText() {
    // The system's long time format without the zone: 14:03:22.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(QTime::currentTime(), format.trimmed());
}

} // namespace

QString MainWindow::OpenDialogFilter() {
    return QStringLiteral("所有Flash Video视频文件(*.flv;*.f4v) (*.f4v *.flv);;"
                          "普通Flash Video文件(*.flv) (*.flv);;"
                          "高清Flash Video文件(*.f4v) (*.f4v);;"
                          "所有文件(*.*) (*)");
}

void MainWindow::OpenFile(int plays) {
    const QString chosen = chooseFile_
                               ? chooseFile_(this)
                               : QFileDialog::getOpenFileName(this, QStringLiteral("打开Flv文件"),
                                                              QString(), OpenDialogFilter());
    // A cancelled dialog leaves the video as it was.
    if (chosen.isEmpty())
        return;
    for (int i = 0; i < plays; ++i)
        player_->PlayMovie(QDir::toNativeSeparators(chosen));
    if (plays > 1)
        ShowAndFocus();
}

void MainWindow::ResumeSavedPosition() {
    const QString ini = ConfigIniPath();
    const QString autoSave = GetFromIni("Config", "AutoSave", ini);
    const QString url = GetFromIni("Media", "Url", ini);
    const QString time = GetFromIni("Media", "Time", ini);
    if (autoSave == QLatin1String("off")) {
        auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("警告"),
                                    QStringLiteral("您未启动自动保存!"), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    if (autoSave != QLatin1String("on"))
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

void MainWindow::Timer1Tick() {
    s1_->setPanelText(2, QStringLiteral("时间:") + TimeOfDayText());
    s1_->setPanelText(3, QStringLiteral("日期:") + QLocale::system().toString(
                                                       QDate::currentDate(), QLocale::ShortFormat));
    s1_->setPanelText(4, player_->Movie());
    const qint64 max = qint64(player_->TotalTime()) + 1;
    sl1_->setMaximum(max > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                           : int(max));
    sl2_->setValue(player_->Volume());
    if (sl1_->maximum() == 0)
        sl1_->setMaximum(1000);
    sl2_->setToolTip(QStringLiteral("音量:%1%").arg(player_->Volume()));
}

void MainWindow::Timer2Tick() {
    if (!player_->Movie().isEmpty())
        label3_->setText(QStringLiteral("%1/%2")
                             .arg(WholeSeconds(player_->CurrentTime()))
                             .arg(player_->TotalTime()));
    else
        label3_->setText(QStringLiteral("00:00/00:00"));
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
    const QString product = QStringLiteral("Ovelo 2011 Beta2 - ");
    if (newState == QLatin1String("Empty")) {
        s1_->setPanelText(1, QStringLiteral("正在缓冲"));
        setWindowTitle(product + QStringLiteral("正在缓冲:") + player_->Movie());
    } else if (newState == QLatin1String("Play")) {
        s1_->setPanelText(1, QStringLiteral("播放"));
        setWindowTitle(product + QStringLiteral("正在播放:") + player_->Movie());
    } else if (newState == QLatin1String("Pause")) {
        s1_->setPanelText(1, QStringLiteral("暂停播放"));
    } else if (newState == QLatin1String("Stop")) {
        s1_->setPanelText(1, QStringLiteral("停止播放"));
        sl1_->setValue(0);
    } else if (newState == QLatin1String("FlvNotFound")) {
        s1_->setPanelText(1, QStringLiteral("播放文件无效或不存在"));
        sl1_->setValue(0);
    }
}

void MainWindow::OpenProductSite() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kProductSite)));
}

} // namespace ovelo
