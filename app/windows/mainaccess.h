// What the program's other windows may reach of the main window: its player and the volume
// the user set on it. Nothing else, so each window is tried with a stand-in.
#pragma once

namespace flv {
class Velmora;
}

namespace ovelo {

class MainAccess {
  public:
    virtual ~MainAccess() = default;
    virtual flv::Velmora& mainPlayer() = 0;
    virtual int volumeSliderValue() const = 0;
};

} // namespace ovelo
