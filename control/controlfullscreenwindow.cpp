#include "controlfullscreenwindow.h"

#include "keycodes.h"

#include <QKeyEvent>
#include <QScreen>

namespace flv {

ControlFullScreenWindow::ControlFullScreenWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("Form1");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::StrongFocus);
}

bool ControlFullScreenWindow::IsMaximized() const {
    return windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized);
}

bool ControlFullScreenWindow::IsNormal() const {
    return (windowState() & ~Qt::WindowActive) == Qt::WindowNoState;
}

void ControlFullScreenWindow::SetMaximized() {
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                   Qt::WindowFullScreen);
}

void ControlFullScreenWindow::SetNormal() {
    setWindowState(windowState() & Qt::WindowActive);
}

void ControlFullScreenWindow::ShowOn(QScreen* screen) {
    // Without a window manager the full-screen state alone does not size the window.
    if (screen)
        setGeometry(screen->geometry());
    SetMaximized();
    show();
    raise();
    activateWindow();
}

bool ControlFullScreenWindow::IsLeaveKey(short keyCode) {
    return keyCode == vk::Alt || keyCode == vk::Escape || keyCode == vk::LeftWindows ||
           keyCode == vk::RightWindows;
}

void ControlFullScreenWindow::keyPressEvent(QKeyEvent* event) {
    if (IsLeaveKey(VirtualKeyCode(event->key(), event->modifiers())))
        SetNormal();
}

} // namespace flv
