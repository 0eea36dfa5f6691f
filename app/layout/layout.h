// Proportional layout: every child control keeps its design rectangle, scaled with its window.
//
// Units are twips (1/1440 inch) at the window's logical dpi. The window is the container whose
// direct child widgets are the controls (for a main window: its central widget). The window
// remembers its recorded size in the dynamic properties "BaseScaleWidth" and "BaseScaleHeight"
// (int, twips); each control keeps its recorded rectangle in its dynamic property "Tag" as
// "left top width height " in twips.
#pragma once

class QWidget;

namespace ovelo {

double TwipsPerPixelX(const QWidget* widget);
double TwipsPerPixelY(const QWidget* widget);

// Sets the widget's geometry from a rectangle in twips, each value rounded to the nearest pixel.
// A rectangle with a negative size or a value beyond the pixel range is refused: the widget stays.
void PlaceInTwips(QWidget* w, double left, double top, double width, double height);

// Records the window's size and every control's current rectangle. Hidden controls are
// included; child objects that are not widgets, and child windows, are left alone.
void resizeinit(QWidget* window);

// Moves every control to its recorded rectangle times the ratio of the window's current size to
// its recorded one, horizontally and vertically apart.
void resizeform(QWidget* window);

} // namespace ovelo
