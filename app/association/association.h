// The start-up's last step: the program registers itself as the handler of .flv and .f4v
// files, in its classes root and on the desktop, at every start. Nothing turns it off, nothing
// is asked or reported, and no failure stops the start.
#pragma once

#include "desktopfiles.h"

#include <QString>

namespace ovelo {

struct AssociationPlaces {
    QString store; // the classes root's file; "" keeps it in memory for this start only
    DesktopFolders desktop;
};

// The places in the user's folders, $XDG_DATA_HOME and $XDG_CONFIG_HOME as they are now.
AssociationPlaces UserAssociationPlaces();

// Registers `executable` (an absolute path) with the icons of `programFolder`, and makes the
// desktop follow. Each file is written only when its content changes.
void RegisterFileAssociations(const QString& programFolder, const QString& executable,
                              const AssociationPlaces& places);

// The same for the running program, in the user's folders.
void RegisterFileAssociations();

} // namespace ovelo
