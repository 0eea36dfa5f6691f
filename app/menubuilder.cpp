#include "menubuilder.h"

#include "platform/caption.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ovelo {

namespace {

bool IsSeparator(const MenuItemSpec& item) {
    return QLatin1String(item.caption) == QLatin1String(kSeparator);
}

// The items that show: commands that work, and the separators between two of them.
std::vector<const MenuItemSpec*> Shown(const char* menu, const std::vector<MenuItemSpec>& items) {
    std::vector<const MenuItemSpec*> shown;
    const MenuItemSpec* pendingSeparator = nullptr;
    for (const MenuItemSpec& item : items) {
        if (qstrcmp(item.menu, menu) != 0)
            continue;
        if (IsSeparator(item)) {
            if (!shown.empty())
                pendingSeparator = &item;
            continue;
        }
        if (!item.command)
            continue;
        if (pendingSeparator)
            shown.push_back(pendingSeparator);
        pendingSeparator = nullptr;
        shown.push_back(&item);
    }
    return shown;
}

void AddItem(QMenu* menu, QWidget* owner, const MenuItemSpec& item) {
    if (IsSeparator(item)) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(item.name));
        return;
    }
    QAction* action = menu->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
    QObject::connect(action, &QAction::triggered, owner, item.command);
    owner->addAction(action);
}

} // namespace

QHash<QString, QMenu*> BuildMenus(QMenuBar* bar, QWidget* owner, const std::vector<MenuSpec>& menus,
                                  const std::vector<MenuItemSpec>& items) {
    QHash<QString, QMenu*> built;
    for (const MenuSpec& spec : menus) {
        const auto shown = Shown(spec.name, items);
        if (shown.empty())
            continue;
        auto* menu = new QMenu(QString::fromUtf8(spec.caption), owner);
        menu->setObjectName(QString::fromLatin1(spec.name));
        for (const MenuItemSpec* item : shown)
            AddItem(menu, owner, *item);
        if (spec.onBar)
            bar->addMenu(menu);
        built.insert(menu->objectName(), menu);
    }
    return built;
}

} // namespace ovelo
