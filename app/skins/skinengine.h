// The skin engine: a skin is a Qt style sheet in a ".skn" file (UTF-8), applied to the whole
// program, so every window, open or opened later, takes it on at once. The two operations keep the
// names and integer results that the program's callers know; the callers ignore the results.
#pragma once

#include <QString>

namespace ovelo {

// The results of the engine's operations; anything but SkinDone left the look as it was.
enum SkinResult : int {
    SkinDone = 0,
    // Missing, a folder, unreadable or too large to be a style sheet.
    SkinUnreadable = 1,
    // Nothing in it but blanks and comments.
    SkinEmpty = 2,
    // Not UTF-8 text, or not a style sheet Qt can parse.
    SkinNotAStyleSheet = 3,
    // There is no application to apply it to yet.
    SkinNoApplication = 4,
};

// Applies the skin file at `path` ("\" and "/" both separate folders). The password is accepted
// and unused: our skins are plain text.
int SkinH_AttachEx(const QString& path, const QString& password);

// 1: the secondary windows get a slightly translucent glass where a compositor blends windows;
// the windows that show video, and those with a translucency of their own, never do. 0: off.
int SkinH_SetAero(int flag);

// Puts the program's own look in force, dropping any skin. Called once at start, before any
// window is made.
int AttachProgramLook();

// The file of the skin in force, as a local path; "" while it is the program's own look.
QString AttachedSkin();

// The program's own look: the style sheet a skin replaces.
QString ProgramLook();

} // namespace ovelo
