// The numbers the program compares with what the window system and the player report.
#pragma once

namespace ovelo::code {

// A notification-area icon reports its clicks as these window messages, in the pointer's x.
inline constexpr int kLeftButtonUp = 514;
inline constexpr int kRightButtonUp = 517;
// The player's button codes.
inline constexpr short kLeftButton = 1;
inline constexpr short kRightButton = 2;
// Virtual-key codes of the keys that leave full screen.
inline constexpr short kAltKey = 18;
inline constexpr short kEscKey = 27;

} // namespace ovelo::code
