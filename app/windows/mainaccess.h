// What the program's other windows may reach of the main window: its player, the volume the
// user set on it and the screen it is on. Nothing else, so each window is tried with a stand-in.
#pragma once

class QScreen;

namespace flv {
class Velmora;
}

namespace ovelo {

class MainAccess {
  public:
    virtual ~MainAccess() = default;
    virtual flv::Velmora& mainPlayer() = 0;
    virtual int volumeSliderValue() const = 0;
    // Null means the primary screen.
    virtual QScreen* mainScreen() const { return nullptr; }
};

} // namespace ovelo
