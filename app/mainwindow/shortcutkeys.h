// The configured play/pause, stop and boss keys, and which commands a key press gives.
#pragma once

#include "mainwindow/commands.h"

#include <vector>

namespace ovelo {

// Key codes as Config.ini stores them; 0 is no key.
struct ShortcutKeys {
    double play = 0;
    double stop = 0;
    double boss = 0;

    // As the start-up reads them: the play and stop keys only with [Fast] Key "on", the boss key
    // only with LaoBanKey "on" as well. A code that is not a number, hand-edited, is no key.
    static ShortcutKeys FromSettings();

    // Where the key was pressed: over the video or the window, or on the seek slider, where
    // the boss key only hides (or shows again) and the sound goes on.
    enum class Place { Window, SeekSlider };
    // The commands `code` gives there, in the order they run.
    std::vector<Command> commandsFor(int code, Place place) const;
};

} // namespace ovelo
