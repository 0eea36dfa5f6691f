// Puts a player control into a window: created by its ProgID from the libraries beside the
// program, its events bound by name to the window's handlers.
#pragma once

#include <QWidget>
#include <functional>

namespace flv {
class Velmora;
}

namespace ovelo {

class PlayerHost {
  public:
    // Makes the player control in `parent`; nullptr when there is none.
    using ControlCreator = std::function<QWidget*(QWidget* parent)>;

    // Without a creator the control comes from the libraries beside the program. When none
    // offers it, a stand-in keeps every command working over a blank area.
    explicit PlayerHost(QWidget* parent, const ControlCreator& create = {});

    // Owned by the parent's widget tree.
    QWidget* widget() const { return widget_; }
    flv::Velmora* player() const { return player_; }
    bool isStandIn() const { return standIn_; }

    // Connects each of the handler's slots named "<prefix>_<Event>" to the player's event of
    // that name, as a form's handlers are bound to its control. A handler whose event the
    // player does not have, or whose arguments do not fit, is logged. Returns the count bound.
    int bindEvents(QObject* handler, const QString& prefix) const;

  private:
    QWidget* widget_ = nullptr;
    flv::Velmora* player_ = nullptr;
    bool standIn_ = false;
};

} // namespace ovelo
