// The numbers the program compares with what the window system and the player report.
#pragma once

namespace ovelo::code {

// A notification-area icon reports its clicks as these window messages, in the pointer's x.
inline constexpr int kLeftButtonUp = 514;
inline constexpr int kRightButtonUp = 517;
// The player's code for the right mouse button.
inline constexpr short kRightButton = 2;

} // namespace ovelo::code
