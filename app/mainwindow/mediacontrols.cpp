#include "mainwindow/mediacontrols.h"

#include "mainwindow/commands.h"
#include "mainwindow/playbackcontroller.h"

namespace ovelo {

MediaControls::MediaControls(const CommandSet& commands, PlaybackController& controller)
    : commands_(commands), controller_(controller) {}

const flv::Velmora& MediaControls::mediaPlayer() const {
    return controller_.mainPlayer();
}

void MediaControls::togglePlayback() {
    commands_.trigger(Command::TogglePlayback);
}

void MediaControls::stopPlayback() {
    commands_.trigger(Command::Stop);
}

void MediaControls::seekTo(qint32 seconds) {
    controller_.seekTo(seconds);
}

int MediaControls::volumeLevel() const {
    return controller_.volumeLevel();
}

void MediaControls::setVolumeLevel(int level) {
    controller_.setVolumeLevel(level);
}

void MediaControls::playAddress(const QString& address) {
    controller_.playAddress(address);
}

void MediaControls::raiseWindow() {
    commands_.trigger(Command::RestoreWindow);
}

void MediaControls::quitProgram() {
    commands_.trigger(Command::Quit);
}

bool MediaControls::videoOnScreen() const {
    return controller_.videoOnScreen();
}

} // namespace ovelo
