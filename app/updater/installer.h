// The downloaded installer: where it is saved and how it is started.
#pragma once

#include <QString>

namespace ovelo {

inline constexpr char kInstallerFileName[] = "Up.exe";

// The user's own cache folder for the program: always writable by the user, unlike a drive
// root or an installed program's folder. "" when the system names none.
QString InstallerFolder();

// Marks the file executable and starts it on its own, without arguments, not waiting for it;
// it outlives this program. false when it could not be started.
bool StartInstaller(const QString& path);

// How many times this process has asked for an installer to start. A started installer runs
// on its own, so that it was not started can be known only here.
int InstallerStartsForTesting();

} // namespace ovelo
