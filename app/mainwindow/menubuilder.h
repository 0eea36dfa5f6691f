// Menus built from one table: every menu and item with its objectName, caption and shortcut,
// each item triggering one of the window's commands.
#pragma once

#include "mainwindow/commands.h"

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace ovelo {

struct MenuRow {
    const char* name;
    const char* caption; // in the program's language, translated in the tables' context
    bool onBar;          // a menu off the bar only pops up
};

struct MenuItemRow {
    const char* menu; // the objectName of the menu it belongs to
    const char* name;
    const char* caption; // kSeparator for a separator line
    const char* shortcut;
    std::optional<Command> command; // none for a separator
};

inline constexpr char kSeparator[] = "-";

// The menus in table order, those on the bar added to it, each item in table order. Items whose
// command the program cannot do are left out, and so are separators with nothing to separate
// and menus left empty. Every item is also an action of `owner`, so its shortcut works from
// there; it is enabled while its command is. The captions are shown as translated in
// `textContext`, the context their QT_TR_NOOP marks belong to.
QHash<QString, QMenu*> BuildMenus(QMenuBar* bar, QWidget* owner, const CommandSet& commands,
                                  const std::vector<MenuRow>& menus,
                                  const std::vector<MenuItemRow>& items, const char* textContext);

} // namespace ovelo
