// What the program's other windows may reach of the main window: its player, the volume the
// user set on it, the screen it is on, and the end of the program. Nothing else, so each window
// is tried with a stand-in.
#pragma once

#include <QCoreApplication>

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
    // Ends the program at once with exit code 0, skipping what closing the main window saves:
    // the updater's installer is running and replaces the program.
    virtual void endProgram() { QCoreApplication::exit(0); }
};

} // namespace ovelo
