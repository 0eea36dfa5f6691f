// Form3: the full-screen window. It holds a player of its own, which the main window's full-screen
// command hands the movie, position and volume to; Esc hands the position back and closes it.
#pragma once

#include "player/playerhost.h"
#include "windows/form.h"

#include <optional>

class QScreen;

namespace flv {
class Velmora;
}

namespace ovelo {

class MainAccess;
class WindowCoordinator;

class FullScreenWindow : public Form {
    Q_OBJECT
  public:
    // Covers `screen` (the primary screen when null). Without a creator the player comes from
    // the libraries beside the program.
    explicit FullScreenWindow(MainAccess& main, QScreen* screen = nullptr,
                              const PlayerHost::ControlCreator& createControl = {});

    flv::Velmora& player() const { return *player_; }

  public slots:
    // The player's events, bound by name.
    void flv_KeyPress(short KeyAscii);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void unloading() override;

  private:
    enum class KeyRoad { Player, Window };
    void leaveOnEscape(KeyRoad road);

    MainAccess& main_;
    std::optional<PlayerHost> host_;
    flv::Velmora* player_ = nullptr;
    // The player's state when Esc began to be handled: the Esc's own stop or pause must not
    // count as the movie having ended.
    std::optional<QString> stateBeforeEscape_;
};

// The main window's full-screen command: shows a full-screen window, hands it the main player's
// movie, position and volume, pauses the main player and shows the hint banner, which goes with
// the full-screen window.
void HandOverToFullScreen(WindowCoordinator& windows, MainAccess& main);

} // namespace ovelo
