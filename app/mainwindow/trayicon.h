// The notification-area icon, where the desktop has such an area: the way back to a window the
// boss key hid.
#pragma once

#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace ovelo {

// A left click restores, a right click pops up `menu`. nullptr where there is no tray.
QSystemTrayIcon* CreateTrayIcon(QWidget* owner, std::function<void()> restore, QMenu* menu);

} // namespace ovelo
