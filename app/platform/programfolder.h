// The program folder: where Config.ini, the skins and the icons are, and where settings go.
#pragma once

#include <QString>

namespace ovelo {

// The folder of the executable when the user may write there (the build tree, a portable
// copy). Otherwise (an installation under /usr) the user's own "Ovelo" folder in the generic
// data location, $XDG_DATA_HOME/Ovelo, topped up with the shipped data files at every start.
// Decided once per process; needs a QCoreApplication. No trailing "/" except at the root.
QString ProgramFolder();

// Replaces what ProgramFolder() gives; an empty folder restores the real one.
void SetProgramFolderForTesting(const QString& folder);

// The decision behind ProgramFolder(), for the given executable and user folders.
QString ResolveProgramFolder(const QString& executableFolder, const QString& userFolder);

// The folder beside the executable that holds the translations of the program's texts.
inline constexpr char kTranslationsFolder[] = "translations";

// Copies the data files of `from` (everything but executables, shared libraries and the
// translations folder, folders recursively) into `to`, leaving every file that `to` already has
// as it is.
void CopyShippedData(const QString& from, const QString& to);

// Copies the file `from` to `to` whole, replacing what `to` was; false when nothing changed.
bool CopyFileReplacing(const QString& from, const QString& to);

// A path stored the Windows way, relative to the program folder ("Skin\Blue.skn", and also
// "\Config.ini"), as a path to open here. An empty stored path gives the folder and a "/".
QString NativePath(const QString& programFolder, const QString& storedRelativePath);

// The settings file, Config.ini in the program folder.
QString ConfigIniPath();

} // namespace ovelo
