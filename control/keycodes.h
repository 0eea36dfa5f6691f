// The host's terms for input: Windows virtual-key codes, button codes and the Shift mask.
#pragma once

#include <Qt>

namespace flv {

// The virtual-key codes the control acts on itself.
namespace vk {
inline constexpr short Alt = 18;
inline constexpr short Escape = 27;
inline constexpr short LeftWindows = 91;
inline constexpr short RightWindows = 92;
} // namespace vk

// 0 for a key that has no virtual-key code.
short VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
// 1 Shift, 2 Ctrl, 4 Alt.
short ShiftMask(Qt::KeyboardModifiers modifiers);
// 1 left, 2 right, 4 middle; 0 for other buttons.
short ButtonCode(Qt::MouseButton button);
// The same codes or-ed together for the buttons held.
short ButtonMask(Qt::MouseButtons buttons);

} // namespace flv
