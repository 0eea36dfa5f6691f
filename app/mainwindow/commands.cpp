#include "mainwindow/commands.h"

#include <QAction>
#include <QWidget>

namespace ovelo {

CommandSet::CommandSet(QWidget* owner, const std::vector<CommandRow>& rows) : QObject(owner) {
    for (const CommandRow& row : rows) {
        if (!row.run)
            continue;
        auto* action = new QAction(owner);
        action->setObjectName(QString::fromLatin1(row.name));
        connect(action, &QAction::triggered, owner, row.run);
        actions_[row.command] = action;
        if (row.enabled)
            enabled_[row.command] = row.enabled;
    }
}

QAction* CommandSet::action(Command command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CommandSet::trigger(Command command) const {
    // A disabled action does nothing, whoever asks.
    if (QAction* a = action(command))
        a->trigger();
}

void CommandSet::refresh() {
    for (const auto& [command, enabled] : enabled_)
        actions_.at(command)->setEnabled(enabled());
}

} // namespace ovelo
