// Reading and writing the text values of the classes root, as the registration does it.
#pragma once

#include "classesroot.h"

#include <QString>

namespace ovelo {

// The part of `text` before its first NUL; all of it when it has none.
QString CutAtNull(const QString& text);

// The text value `valueName` of `key`. False, with `result` left as it was, when the value is
// missing, is not REG_SZ or cannot be read.
bool ReadRegText(const ClassesRoot& root, const RegKey& key, const QString& valueName,
                 QString& result);

// Stores `value` as REG_SZ in the system code page, its terminating NUL included. True when the
// store took it.
bool WriteRegText(ClassesRoot& root, const RegKey& key, const QString& valueName,
                  const QString& value);

} // namespace ovelo
