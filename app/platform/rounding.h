// The program's two roundings of player numbers.
#pragma once

#include <QtGlobal>
#include <cmath>
#include <limits>

namespace ovelo {

// To the nearest whole number, halves to the even neighbour; out of range saturates and a
// value that is not a number gives 0.
inline int RoundEven(double v) {
    if (!std::isfinite(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

// Whole seconds, the fraction dropped (rounding down).
inline qint64 WholeSeconds(float seconds) {
    return std::isfinite(seconds) ? qint64(std::floor(seconds)) : 0;
}

} // namespace ovelo
