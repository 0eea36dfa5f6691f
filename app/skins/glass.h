// The engine's glass: secondary windows a little see-through where the window system blends
// windows. Never the windows that show video, nor one that has a translucency of its own.
#pragma once

class QWidget;

namespace ovelo {

// Turns the glass on or off for the open windows and those shown later. False without an
// application.
bool SetGlass(bool on);

// Whether the window system blends windows: a compositor on X11, always on Wayland.
bool CompositorRunning();

// Whether the glass is for this window: a secondary window ("Form2" to "Form12") without video.
bool TakesGlass(const QWidget* window);

} // namespace ovelo
