// The main window as the desktop's media controls drive it: the same commands its own buttons
// and tray menu trigger, the volume slider, the seek and the address.
#pragma once

#include "session/mediacommands.h"

namespace ovelo {

class CommandSet;
class PlaybackController;

class MediaControls : public MediaCommands {
  public:
    MediaControls(const CommandSet& commands, PlaybackController& controller);

    const flv::Velmora& mediaPlayer() const override;
    void togglePlayback() override;
    void stopPlayback() override;
    void seekTo(qint32 seconds) override;
    int volumeLevel() const override;
    void setVolumeLevel(int level) override;
    void playAddress(const QString& address) override;
    void raiseWindow() override;
    void quitProgram() override;
    bool videoOnScreen() const override;

  private:
    const CommandSet& commands_;
    PlaybackController& controller_;
};

} // namespace ovelo
