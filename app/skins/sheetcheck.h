// Whether a text is a style sheet the skin engine may apply to the whole program. Qt tells no
// caller that it could not parse a sheet (it only logs a warning), so a skin is judged before use.
#pragma once

#include <QString>

namespace ovelo {

enum class SheetVerdict { StyleSheet, Empty, Broken };

// Rules only ("selector { declarations }"), braces balanced and not nested, comments and quoted
// texts closed, and nothing Qt's own parser refuses. Only comments and blanks: Empty.
SheetVerdict CheckStyleSheet(const QString& sheet);

} // namespace ovelo
