#include "x11videowindow.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

Q_LOGGING_CATEGORY(lcVideoWindow, "ovelo.mpv.window", QtWarningMsg)

namespace flv {

namespace {

uint32_t Extent(int pixels) {
    // X refuses a window of no size.
    return uint32_t(std::clamp(pixels, 1, 32767));
}

} // namespace

void X11VideoWindow::Sync(xcb_connection_t* connection) {
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

std::unique_ptr<X11VideoWindow> X11VideoWindow::Create(QSize size) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        qCWarning(lcVideoWindow) << "no X display for the video window";
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.data) {
        xcb_disconnect(connection);
        return nullptr;
    }
    const xcb_screen_t* screen = screens.data;
    const uint32_t window = xcb_generate_id(connection);
    const uint32_t inner = xcb_generate_id(connection);
    const uint16_t width = Extent(size.width()), height = Extent(size.height());
    // Black where mpv's own window does not cover it yet (a resize on its way), as mpv's bars.
    // No window manager takes it while it waits under the root. No events selected: the pointer
    // and keys go on to the program's window.
    const uint32_t outerValues[] = {screen->black_pixel, 1};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, width, height,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, outerValues);
    // mpv watches the window it is given, and takes any MapNotify there for its own window's:
    // one that came after mpv had made its window and before it first showed it would leave
    // its window unmapped for good. So mpv is given this inner window, mapped now, before mpv
    // looks, and never moved; only the outer one is moved, shown and hidden.
    const uint32_t innerValues[] = {screen->black_pixel};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, inner, window, 0, 0, width, height, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      innerValues);
    xcb_map_window(connection, inner);
    // mpv makes its window inside this one from a connection of its own: this one must exist
    // on the server first.
    Sync(connection);
    const uint32_t root = screen->root;
    return std::unique_ptr<X11VideoWindow>(new X11VideoWindow(connection, root, window, inner));
}

X11VideoWindow::X11VideoWindow(xcb_connection_t* connection, uint32_t root, uint32_t window,
                               uint32_t inner)
    : connection_(connection), root_(root), window_(window), inner_(inner) {}

X11VideoWindow::~X11VideoWindow() {
    xcb_destroy_window(connection_, window_);
    xcb_disconnect(connection_);
}

void X11VideoWindow::resize(QSize size) {
    const uint32_t values[] = {Extent(size.width()), Extent(size.height())};
    for (uint32_t window : {window_, inner_})
        xcb_configure_window(connection_, window,
                             XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(connection_);
}

void X11VideoWindow::moveInto(uint32_t parent, QSize size) {
    xcb_reparent_window(connection_, window_, parent, 0, 0);
    resize(size);
    xcb_map_window(connection_, window_);
    xcb_flush(connection_);
}

void X11VideoWindow::park() {
    xcb_unmap_window(connection_, window_);
    xcb_reparent_window(connection_, window_, root_, 0, 0);
    // The program's connection destroys the old parent next: the server must have moved this
    // window out before it reads that request.
    Sync(connection_);
}

} // namespace flv
