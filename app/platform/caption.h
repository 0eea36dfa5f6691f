// Window titles and captions that show exactly the text they are given.
#pragma once

#include <QString>

class QWidget;

namespace ovelo {

// Qt reads "[*]" in a window title as the modified marker and drops it; a file path or a
// hand-edited title may hold it literally.
QString LiteralTitle(const QString& text);
void SetCaption(QWidget* window, const QString& text);

} // namespace ovelo
