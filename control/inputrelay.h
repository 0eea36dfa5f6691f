// Turns the mouse and keys over the video into the control's own events, in the host's terms.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointF>
#include <QUrl>
#include <functional>

class QMouseEvent;
class QKeyEvent;
class QWidget;

namespace flv {

class Logo;
class VelmoraControl;

// The maker's page, opened by a left press on the logo.
inline constexpr const char* kMakerPage = "https://www.vantorel.com/";

class InputRelay : public QObject {
    Q_OBJECT
  public:
    // Where the input arrived: the surface over the video, or the control itself where that
    // surface does not cover it (while the video is in the full-screen window).
    enum class Source { Picture1, Control };
    using UrlOpener = std::function<void(const QUrl&)>;
    using KeyHook = std::function<void(short keyCode)>;

    InputRelay(VelmoraControl* control, QWidget* picture1, Logo* logo);

    // Relays one event; true when it was an input event and is used up.
    bool relay(QEvent* event, Source source);
    static bool IsInput(QEvent::Type type);
    bool PointerOutsideLogo() const { return pointerOutsideLogo_; }
    // Runs before KeyDown is raised for keys over the video.
    void setPicture1KeyHook(KeyHook hook) { keyHook_ = std::move(hook); }
    // Inside the logo, in twips of Picture1; points on the edges are outside.
    bool insideLogo(QPointF twips) const;
    // Lets the pointer go, for moments when Picture1 leaves its window.
    void releaseCapture();

    // How the page is opened; the system's default handler unless replaced (tests replace it).
    static void setUrlOpener(UrlOpener opener);

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

    VelmoraControl* control_;
    QWidget* picture1_;
    Logo* logo_;
    KeyHook keyHook_;
    bool pointerOutsideLogo_ = false;
    bool afterDoubleClick_ = false;
};

} // namespace flv
