// A window for mpv's X11 output that lives as long as that output may draw in it.
#pragma once

#include <QSize>
#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace flv {

// Made on a connection of its own, hidden under the screen's root until the program's window
// exists to take it: mpv can open the file and start its output at once, while the program's
// window is still being shown. mpv's output stops when it sees its window go, and reports the
// drawing it had under way as errors of the whole process: so when the program's window goes,
// this one is first moved back out, hidden, and is destroyed only after mpv has ended.
class X11VideoWindow {
  public:
    // Hidden, `size` in device pixels; null when there is no X display.
    static std::unique_ptr<X11VideoWindow> Create(QSize size);
    ~X11VideoWindow();
    X11VideoWindow(const X11VideoWindow&) = delete;
    X11VideoWindow& operator=(const X11VideoWindow&) = delete;

    // The window mpv is given to draw in.
    uint32_t id() const { return inner_; }
    void resize(QSize size);
    // Into a window of the program, filling it, and shown. The window must exist on the server
    // (see Sync).
    void moveInto(uint32_t parent, QSize size);
    // Out of the program's windows, hidden, before they go. Returns once the server has done it.
    void park();
    // Returns once the server has carried out every request sent on `connection` so far.
    static void Sync(xcb_connection_t* connection);

  private:
    X11VideoWindow(xcb_connection_t* connection, uint32_t root, uint32_t window, uint32_t inner);
    xcb_connection_t* connection_;
    uint32_t root_;
    uint32_t window_; // moved into the program's windows and out
    uint32_t inner_;  // inside window_, always mapped, its size: mpv's
};

} // namespace flv
