// The registration of the program as the handler of .flv and .f4v files in the classes root.
#pragma once

#include "classesroot.h"

#include <QString>

namespace ovelo {

// Points .flv at the class "flvfile" and .f4v at "f4vfile", each with its description, icon
// and open command. Icons are taken from `programFolder`; the command runs `executable` (an
// absolute path) with the file as its argument. A failing step does not stop the next.
void RegisterFileTypes(ClassesRoot& root, const QString& programFolder, const QString& executable);

} // namespace ovelo
