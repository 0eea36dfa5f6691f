// What the desktop's media controls may reach of the main window: its player to read, and the
// commands its own buttons, slider and tray menu give. Nothing else, so the desktop's side is
// tried with a stand-in.
#pragma once

#include <QString>

namespace flv {
class Velmora;
}

namespace ovelo {

class MediaCommands {
  public:
    virtual ~MediaCommands() = default;
    // The main window's player, read for its state, file and times.
    virtual const flv::Velmora& mediaPlayer() const = 0;
    // The play/pause toggle and the stop, as the window's buttons give them.
    virtual void togglePlayback() = 0;
    virtual void stopPlayback() = 0;
    virtual void seekTo(qint32 seconds) = 0;
    // The volume slider, 0 to 100; setting it sets the player's volume as dragging it does.
    virtual int volumeLevel() const = 0;
    virtual void setVolumeLevel(int level) = 0;
    virtual void playAddress(const QString& address) = 0;
    // Brings the window back as 主界面 does, also after the boss key hid and silenced it.
    virtual void raiseWindow() = 0;
    // 退出: the close sequence, which keeps the position and ends the program.
    virtual void quitProgram() = 0;
    // A video is playing where the user sees it: in the shown main window or in full screen.
    virtual bool videoOnScreen() const = 0;
};

// Playing, or waiting for its buffer to fill again, with a file loaded.
bool IsPlaying(const flv::Velmora& player);

} // namespace ovelo
