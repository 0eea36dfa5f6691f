// The product's name, version and maker as the program shows them, in one place.
#pragma once

namespace ovelo {

// In the title bar while playing, in the first status panel at start and on the tray icon.
inline constexpr char kProductTitle[] = "Ovelo 2011 Beta2";
// The about box's version line; Config.ini's [Version] carries the same for the updater.
inline constexpr char kVersionText[] = "V1.2.0.2250";
inline constexpr char kMakerName[] = "Vantorel";

} // namespace ovelo
