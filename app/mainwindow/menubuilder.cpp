#include "mainwindow/menubuilder.h"

#include "platform/caption.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

namespace ovelo {

namespace {

bool IsSeparator(const MenuItemRow& item) {
    return QLatin1String(item.caption) == QLatin1String(kSeparator);
}

// The items that show: commands that work, and the separators between two of them.
std::vector<const MenuItemRow*> Shown(const char* menu, const std::vector<MenuItemRow>& items,
                                      const CommandSet& commands) {
    std::vector<const MenuItemRow*> shown;
    const MenuItemRow* pendingSeparator = nullptr;
    for (const MenuItemRow& item : items) {
        if (qstrcmp(item.menu, menu) != 0)
            continue;
        if (IsSeparator(item)) {
            if (!shown.empty())
                pendingSeparator = &item;
            continue;
        }
        if (!item.command || !commands.action(*item.command))
            continue;
        if (pendingSeparator)
            shown.push_back(pendingSeparator);
        pendingSeparator = nullptr;
        shown.push_back(&item);
    }
    return shown;
}

void AddItem(QMenu* menu, QWidget* owner, const MenuItemRow& item, const CommandSet& commands,
             const char* textContext) {
    if (IsSeparator(item)) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(item.name));
        return;
    }
    QAction* command = commands.action(*item.command);
    QAction* action = menu->addAction(QCoreApplication::translate(textContext, item.caption));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
    action->setEnabled(command->isEnabled());
    QObject::connect(action, &QAction::triggered, command, &QAction::trigger);
    QObject::connect(command, &QAction::enabledChanged, action, &QAction::setEnabled);
    owner->addAction(action);
}

} // namespace

QHash<QString, QMenu*> BuildMenus(QMenuBar* bar, QWidget* owner, const CommandSet& commands,
                                  const std::vector<MenuRow>& menus,
                                  const std::vector<MenuItemRow>& items, const char* textContext) {
    QHash<QString, QMenu*> built;
    for (const MenuRow& row : menus) {
        const auto shown = Shown(row.name, items, commands);
        if (shown.empty())
            continue;
        auto* menu = new QMenu(QCoreApplication::translate(textContext, row.caption), owner);
        menu->setObjectName(QString::fromLatin1(row.name));
        for (const MenuItemRow* item : shown)
            AddItem(menu, owner, *item, commands, textContext);
        if (row.onBar)
            bar->addMenu(menu);
        built.insert(menu->objectName(), menu);
    }
    return built;
}

} // namespace ovelo
