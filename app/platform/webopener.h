// Opens web addresses with the desktop's default handler; nothing waits for it.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace ovelo {

void OpenWebAddress(const QString& address);

// Replaces how addresses are opened (tests record them); an empty opener restores the default.
void SetWebOpenerForTesting(std::function<void(const QUrl&)> opener);

} // namespace ovelo
