#include "platform/webopener.h"

#include <QDesktopServices>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWeb, "ovelo.web", QtWarningMsg)

namespace ovelo {

namespace {

std::function<void(const QUrl&)>& Opener() {
    static std::function<void(const QUrl&)> opener;
    return opener;
}

} // namespace

void OpenWebAddress(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    if (Opener()) {
        Opener()(url);
        return;
    }
    // A desktop without a browser is no reason to bother the user.
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcWeb) << "no handler opened" << url;
}

void SetWebOpenerForTesting(std::function<void(const QUrl&)> opener) {
    Opener() = std::move(opener);
}

} // namespace ovelo
