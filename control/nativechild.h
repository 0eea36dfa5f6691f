// Widgets with windows of their own inside the control: kept where they belong, and see-through
// for the pointer as the widgets around them expect.
#pragma once

class QWidget;

namespace flv {

// Qt moves a child's own window along when that child changes parent, but not when an ancestor
// without a window of its own moves into another top-level window: the child's window stays in
// the old one. Called when the widget is shown, it puts the window back under its native
// parent's, at the widget's place.
void KeepUnderNativeParent(QWidget* widget);

// The X server gives the pointer's events to the window under it, and Qt hands them up the
// widget tree only until a widget without mouse tracking drops a move. Events over `widget`
// and its children go, as they would over a widget transparent for the mouse, straight to the
// first ancestor that is not.
void PassPointerThrough(QWidget* widget);

} // namespace flv
