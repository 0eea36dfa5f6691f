#include "mainwindow/webopener.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

Q_LOGGING_CATEGORY(lcWeb, "ovelo.web", QtWarningMsg)

namespace ovelo {

void OpenWebAddress(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    // A desktop without a browser is no reason to bother the user.
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcWeb) << "no handler opened" << url;
}

} // namespace ovelo
