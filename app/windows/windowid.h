// The program's secondary windows by name.
#pragma once

#include <array>

namespace ovelo {

enum class WindowId {
    Form2,
    Form3,
    Form4,
    Form5,
    Form6,
    Form7,
    Form8,
    Form9,
    Form10,
    Form11,
    Form12
};

// The order in which closing the program unloads them.
inline constexpr std::array<WindowId, 11> kUnloadOrder = {
    WindowId::Form12, WindowId::Form11, WindowId::Form10, WindowId::Form9,
    WindowId::Form8,  WindowId::Form7,  WindowId::Form6,  WindowId::Form5,
    WindowId::Form4,  WindowId::Form3,  WindowId::Form2};

} // namespace ovelo
