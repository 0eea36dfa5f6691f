#include "mainwindow/playbackcontroller.h"

#include "association/association.h"
#include "mainwindow/mainview.h"
#include "platform/programfolder.h"
#include "platform/rounding.h"
#include "session/mediacommands.h"
#include "settings/config.h"
#include "skins/skinengine.h"
#include "windows/coordinator.h"
#include "windows/fullscreenwindow.h"

#include "flv/velmora.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <chrono>
#include <cmath>

namespace ovelo {

namespace {

// The settings dialog is made, hidden, this long after the start and after each close.
constexpr std::chrono::milliseconds kSettingsReadyAfter{100};

} // namespace

PlaybackController::PlaybackController(flv::Velmora& player, WindowCoordinator& windows,
                                       MainView& view, QObject* parent)
    : QObject(parent), player_(player), windows_(windows), view_(view) {}

void PlaybackController::load(const QString& commandLineText) {
    view_.recordLayout();
    // The stored form, "\" then Skin\Blue.skn: the engine takes either separator.
    SkinH_AttachEx(ProgramFolder() + QLatin1Char('\\') + ReadSetting(ini::SkinUrl), QString());
    SkinH_SetAero(1);
    view_.setCaption(ReadSetting(ini::Title));
    // Not a whole number: the player keeps its own start volume.
    if (const std::optional<int> sound = ReadWholeNumber(ini::Sound))
        player_.SetVolume(*sound);
    keys_ = ShortcutKeys::FromSettings();
    player_.PlayMovie(commandLineText);
    RegisterFileAssociations();
    view_.focusVideo();
    windows_.keepReady(WindowId::Settings, kSettingsReadyAfter);
    emit started();
}

QString PlaybackController::CommandLineText(const QStringList& arguments) {
    QString text = arguments.mid(1).join(QLatin1Char(' '));
    text.replace(QLatin1Char('"'), QLatin1Char(' '));
    return text.trimmed();
}

void PlaybackController::togglePlayback() {
    player_.PauseMovie();
}

void PlaybackController::stop() {
    player_.StopMovie();
}

void PlaybackController::openFile(int plays) {
    view_.chooseFile([this, plays](const QString& chosen) { playChosenFile(chosen, plays); });
}

void PlaybackController::playChosenFile(const QString& chosen, int plays) {
    // A cancelled dialog leaves the video as it was.
    if (!chosen.isEmpty())
        for (int i = 0; i < plays; ++i)
            player_.PlayMovie(QDir::toNativeSeparators(chosen));
    if (plays > 1)
        view_.showAndFocus();
}

void PlaybackController::resumeSavedPosition() {
    const QString autoSave = ReadSetting(ini::AutoSave);
    const QString url = ReadSetting(ini::MediaUrl);
    const QString time = ReadSetting(ini::MediaTime);
    if (autoSave == QLatin1String(ini::Off)) {
        view_.refuse(tr("您未启动自动保存!"));
        return;
    }
    if (autoSave != QLatin1String(ini::On))
        return;
    player_.PlayMovie(url);
    bool ok = false;
    const double seconds = QLocale::c().toDouble(time.trimmed(), &ok);
    if (!ok || !std::isfinite(seconds))
        return;
    player_.GotoTime(RoundEven(seconds));
    view_.setSeekSliderValue(RoundEven(player_.CurrentTime()));
}

void PlaybackController::enterFullScreen() {
    HandOverToFullScreen(windows_, *this);
}

void PlaybackController::hideAndSilence() {
    view_.setWindowShown(false);
    player_.SetVolume(0);
}

void PlaybackController::toggleWindowShown() {
    view_.setWindowShown(!view_.windowShown());
}

void PlaybackController::restoreWindow() {
    view_.showAndFocus();
    if (const std::optional<int> sound = ReadWholeNumber(ini::Sound))
        player_.SetVolume(*sound);
}

void PlaybackController::openAddressFromTray() {
    view_.showAndFocus();
    windows_.show(WindowId::Address);
}

void PlaybackController::quit() {
    runCloseSequence();
    view_.closeWindow();
}

void PlaybackController::seekToSliderPosition(int position, int maximum) {
    if (maximum == 0)
        return;
    player_.GotoTime(RoundEven(double(position) / maximum * player_.TotalTime()));
}

void PlaybackController::setVolume(int level) {
    player_.SetVolume(level);
}

void PlaybackController::setVolumeLevel(int level) {
    view_.setVolumeSliderValue(level);
    player_.SetVolume(view_.volumeSliderValue());
}

int PlaybackController::volumeLevel() const {
    return view_.volumeSliderValue();
}

void PlaybackController::seekTo(qint32 seconds) {
    player_.GotoTime(seconds);
}

void PlaybackController::playAddress(const QString& address) {
    player_.PlayMovie(address);
}

void PlaybackController::unloadMovie() {
    player_.PlayMovie(QString());
    view_.setIdleScreenShown(true);
}

void PlaybackController::followProgress() {
    if (player_.Movie().isEmpty())
        unloadMovie();
    else
        view_.setIdleScreenShown(false);
    // One second before the reported end the file is done with.
    if (WholeSeconds(player_.CurrentTime()) == qint64(player_.TotalTime()) - 1)
        unloadMovie();
}

bool PlaybackController::videoOnScreen() const {
    // The boss key hides the window and leaves the movie playing: the screen may rest then.
    if (view_.windowShown() && IsPlaying(player_))
        return true;
    const auto* fullScreen = windows_.loaded<FullScreenWindow>(WindowId::FullScreen);
    return fullScreen && fullScreen->isVisible() && IsPlaying(fullScreen->player());
}

void PlaybackController::runCloseSequence() {
    WriteSetting(ini::Sound, QString::number(player_.Volume()));
    // A single-precision number as it prints: up to seven significant digits (37.52).
    WriteSetting(ini::MediaTime, QString::number(double(player_.CurrentTime()), 'g', 7));
    WriteSetting(ini::MediaUrl, player_.Movie());
    const QSize outer = view_.outerSizeTwips();
    WriteSetting(ini::WindowHeight, QString::number(outer.height()));
    WriteSetting(ini::WindowWidth, QString::number(outer.width()));
    windows_.unloadAll();
}

bool PlaybackController::windowClosing() {
    // A close from the menu has written once already; the unload writes a second time, and
    // never a third.
    if (closed_)
        return false;
    closed_ = true;
    runCloseSequence();
    return true;
}

int PlaybackController::volumeSliderValue() const {
    return view_.volumeSliderValue();
}

QScreen* PlaybackController::mainScreen() const {
    return view_.windowScreen();
}

void PlaybackController::endProgram() {
    // Taken for a close already done: nothing that comes after this may save the settings.
    closed_ = true;
    emit ending();
    QCoreApplication::exit(0);
}

} // namespace ovelo
