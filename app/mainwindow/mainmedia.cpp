// The main window's commands as the desktop's media controls give them: the same as its own
// buttons, slider and tray menu.
#include "mainwindow/mainwindow.h"
#include "windows/coordinator.h"
#include "windows/fullscreenwindow.h"

#include "flv/velmora.h"

#include <QPushButton>
#include <QSlider>

namespace ovelo {

void MainWindow::togglePlayback() {
    cmdplay_->click();
}

void MainWindow::stopPlayback() {
    player_->StopMovie();
}

void MainWindow::seekTo(qint32 seconds) {
    player_->GotoTime(seconds);
}

int MainWindow::volumeLevel() const {
    return sl2_->value();
}

void MainWindow::setVolumeLevel(int level) {
    sl2_->setValue(level);
    player_->SetVolume(sl2_->value());
}

void MainWindow::playAddress(const QString& address) {
    player_->PlayMovie(address);
}

void MainWindow::raiseWindow() {
    RestoreMainWindow();
}

void MainWindow::quitProgram() {
    Quit();
}

bool MainWindow::videoOnScreen() const {
    // The boss key hides the window and leaves the movie playing: the screen may rest then.
    if (isVisible() && IsPlaying(*player_))
        return true;
    const auto* fullScreen = windows_.loaded<FullScreenWindow>(WindowId::FullScreen);
    return fullScreen && fullScreen->isVisible() && IsPlaying(fullScreen->player());
}

} // namespace ovelo
