// What the main window does, apart from drawing: the start-up, the playback commands, the boss
// key, resume, the full-screen hand-over and the close writes. Other windows reach the main
// window through it, as MainAccess.
#pragma once

#include "mainwindow/shortcutkeys.h"
#include "windows/mainaccess.h"

#include <QObject>

namespace flv {
class Velmora;
}

namespace ovelo {

class MainView;
class WindowCoordinator;

class PlaybackController : public QObject, public MainAccess {
    Q_OBJECT
  public:
    PlaybackController(flv::Velmora& player, WindowCoordinator& windows, MainView& view,
                       QObject* parent = nullptr);

    // The start-up, in its order: layout, skin, title, volume, keys, the command line's file,
    // the registration as the handler of .flv and .f4v files; then the status display starts.
    void load(const QString& commandLineText);
    // The argument text as the player gets it: joined by spaces, quotes blanked, trimmed.
    static QString CommandLineText(const QStringList& arguments);
    const ShortcutKeys& shortcutKeys() const { return keys_; }

    // The commands.
    void togglePlayback();
    void stop();
    // From the tray (`plays` 2) the window comes forward as well, whatever the answer.
    void openFile(int plays);
    void resumeSavedPosition();
    void enterFullScreen();
    void hideAndSilence();
    void toggleWindowShown();
    void restoreWindow();
    void openAddressFromTray();
    // 退出: the close writes, then the window closes, which writes them once more.
    void quit();

    // What the window's controls, the desktop and the player ask for.
    void seekToSliderPosition(int position, int maximum);
    void setVolume(int level);
    void setVolumeLevel(int level);
    int volumeLevel() const;
    void seekTo(qint32 seconds);
    void playAddress(const QString& address);
    // After each position report: the idle screen, and the file done with a second before its
    // end.
    void followProgress();
    // A video plays where the user sees it: in the shown main window or in full screen.
    bool videoOnScreen() const;

    // Writes what a close keeps and unloads the other windows.
    void runCloseSequence();
    // The window is closing: the close writes run the first time only. False once closed.
    bool windowClosing();

    // MainAccess.
    flv::Velmora& mainPlayer() override { return player_; }
    int volumeSliderValue() const override;
    QScreen* mainScreen() const override;
    void endProgram() override;

  signals:
    // The start-up is done: the status display may start.
    void started();
    // The program ends at once, its window or not: the status display stops.
    void ending();

  private:
    void unloadMovie();
    void playChosenFile(const QString& chosen, int plays);

    flv::Velmora& player_;
    WindowCoordinator& windows_;
    MainView& view_;
    ShortcutKeys keys_;
    bool closed_ = false;
};

} // namespace ovelo
