// What the desktop learns from the classes root: the program's desktop entry, the F4V type,
// and the program as the default application of both types.
#pragma once

#include "classesroot.h"

#include <QByteArray>
#include <QString>

namespace ovelo {

// The user's folders the desktop reads ($XDG_DATA_HOME, $XDG_CONFIG_HOME).
struct DesktopFolders {
    QString dataHome;
    QString configHome;
};

// The desktop entry's file name, by which the desktop names the program.
inline constexpr char kDesktopId[] = "ovelo.desktop";

// Writes the desktop entry (running `executable`, with the icon of the .flv class), the F4V
// type's package and the two default-application lines, each file only when its content
// changes, and refreshes the desktop's indexes when what they index changed. Failures are
// logged and otherwise ignored.
void UpdateDesktop(const ClassesRoot& root, const QString& executable,
                   const DesktopFolders& folders);

// The desktop entry for `executable` (an absolute path) and `icon` (a path or an icon name).
QByteArray DesktopEntry(const QString& executable, const QString& icon);

// `path` as one argument of a desktop entry's Exec line, quoted when it has to be.
QString ExecArgument(const QString& path);

} // namespace ovelo
