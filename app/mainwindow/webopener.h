// Opens web addresses with the desktop's default handler; nothing waits for it. The player's
// logo opens its page the same way, so a URL handler installed with
// QDesktopServices::setUrlHandler (tests record addresses so) takes both.
#pragma once

#include <QString>

namespace ovelo {

void OpenWebAddress(const QString& address);

} // namespace ovelo
