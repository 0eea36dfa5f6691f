#include "platform/caption.h"

#include <QWidget>

namespace ovelo {

QString LiteralTitle(const QString& text) {
    // A doubled marker is Qt's escape for one literal "[*]".
    QString escaped = text;
    return escaped.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

void SetCaption(QWidget* window, const QString& text) {
    window->setWindowTitle(LiteralTitle(text));
}

} // namespace ovelo
