// Turns the mouse and keys over the video into the control's events, in the host's terms: the
// relay raises them as its own signals, and the control passes them on under the same names.
#pragma once

#include "flv/velmora.h"

#include <QEvent>
#include <QObject>
#include <QPointF>
#include <QUrl>
#include <functional>

class QMouseEvent;
class QKeyEvent;
class QWidget;

// The relay's share of the control's events: the Input ones.
#define FLV_RELAYED_EVENT_SIGNAL(name, parameters, origin)                                         \
    FLV_RELAYED_EVENT_SIGNAL_##origin(name, parameters)
#define FLV_RELAYED_EVENT_SIGNAL_Input(name, parameters) void name parameters;
#define FLV_RELAYED_EVENT_SIGNAL_Control(name, parameters)

namespace flv {

class Logo;

// The maker's page, opened by a left press on the logo.
inline constexpr const char* kMakerPage = "https://www.vantorel.com/";

class InputRelay : public QObject {
    Q_OBJECT
  public:
    // Where the input arrived: the surface over the video, or the control itself where that
    // surface does not cover it (while the video is in the full-screen window).
    enum class Source { Picture1, Control };

    // control: the control itself, which is also this relay's parent.
    InputRelay(QWidget* control, QWidget* inputArea, Logo* logo);

    // Relays one event; true when it was an input event and is used up.
    bool relay(QEvent* event, Source source);
    static bool IsInput(QEvent::Type type);
    bool PointerOutsideLogo() const { return pointerOutsideLogo_; }
    // Inside the logo, in twips of Picture1; points on the edges are outside.
    bool insideLogo(QPointF twips) const;
    // Lets the pointer go, for moments when Picture1 leaves its window.
    void releaseCapture();

  signals:
    // The control's Input events, which it passes on as its own.
    FLV_VELMORA_EVENTS(FLV_RELAYED_EVENT_SIGNAL)
    // A key went down over the video; raised before KeyDown for the same key.
    void inputAreaKeyDown(short KeyCode);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void trackPointer(QPointF twips);
    void mousePress(QMouseEvent* e, Source source);
    void mouseRelease(QMouseEvent* e, Source source);
    void mouseDoubleClick(QMouseEvent* e, Source source);
    void mouseMove(QMouseEvent* e, Source source);
    void keyPress(QKeyEvent* e, Source source);
    void keyRelease(QKeyEvent* e);
    QPointF twipsOf(QMouseEvent* e) const;

    QWidget* control_;
    QWidget* inputArea_;
    Logo* logo_;
    bool pointerOutsideLogo_ = false;
    bool afterDoubleClick_ = false;
};

} // namespace flv
