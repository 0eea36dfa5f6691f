#include "fullscreenwindow.h"

#include "keycodes.h"

#include <QKeyEvent>
#include <QScreen>

namespace flv {

FullScreenWindow::FullScreenWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("Form1");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::StrongFocus);
}

bool FullScreenWindow::IsMaximized() const {
    return windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized);
}

bool FullScreenWindow::IsNormal() const {
    return (windowState() & ~Qt::WindowActive) == Qt::WindowNoState;
}

void FullScreenWindow::SetMaximized() {
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                   Qt::WindowFullScreen);
}

void FullScreenWindow::SetNormal() {
    setWindowState(windowState() & Qt::WindowActive);
}

void FullScreenWindow::ShowOn(QScreen* screen) {
    // Without a window manager the full-screen state alone does not size the window.
    if (screen)
        setGeometry(screen->geometry());
    SetMaximized();
    show();
    raise();
    activateWindow();
}

bool FullScreenWindow::IsLeaveKey(short keyCode) {
    return keyCode == 18 || keyCode == 27 || keyCode == 91 || keyCode == 92;
}

void FullScreenWindow::keyPressEvent(QKeyEvent* event) {
    if (IsLeaveKey(VirtualKeyCode(event->key(), event->modifiers())))
        SetNormal();
}

} // namespace flv
