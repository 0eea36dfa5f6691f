// The library's own full-screen window: a borderless top-level window the video moves into.
#pragma once

#include <QWidget>

namespace flv {

class ControlFullScreenWindow : public QWidget {
    Q_OBJECT
  public:
    ControlFullScreenWindow();
    // Full screen is this window's "maximized" state; any state other than normal counts.
    bool IsMaximized() const;
    bool IsNormal() const;
    void SetMaximized();
    void SetNormal();
    // Covers the whole of the given screen and shows itself, not modal.
    void ShowOn(QScreen* screen);

    // The keys that end full screen: Alt, Esc and the Windows keys.
    static bool IsLeaveKey(short keyCode);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace flv
