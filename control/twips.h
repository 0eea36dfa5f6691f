// The host measures the control in twips: 1440 per logical inch.
#pragma once

#include <QWidget>

namespace flv {

inline double TwipsPerPixel(const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

} // namespace flv
