#include "windowsurface.h"

#include "mpvhandle.h"
#include "mpvproperties.h"
#include "nativechild.h"
#include "x11videowindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QWindow>
#include <utility>

namespace flv {

namespace {

constexpr uint64_t kSizeReply = 0x5857;
constexpr uint64_t kOutputReply = 0x584f;

} // namespace

WindowSurface::WindowSurface(MpvHandle* mpv, QWidget* parent)
    : QWidget(parent), mpv_(mpv), picture_(new QWidget(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Only the window mpv draws in is native: a native ancestor would take the input over the
    // video from the widgets the host listens to.
    picture_->setAttribute(Qt::WA_DontCreateNativeAncestors);
    picture_->setAttribute(Qt::WA_NativeWindow);
    picture_->setAttribute(Qt::WA_NoSystemBackground);
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Shown while mpv's output is open: otherwise what the host shows over the control (the
    // main window's idle screen) is not covered by an empty window.
    picture_->hide();
    picture_->installEventFilter(this);
    PassPointerThrough(picture_);
    if (!mpv->ok())
        return;
    connect(mpv, &MpvHandle::eventArrived, this, &WindowSurface::onEvent);
    ObserveDisplaySize(mpv, kSizeReply);
    mpv_observe_property(mpv->get(), kOutputReply, mpvprop::VoConfigured, MPV_FORMAT_FLAG);
    // Given before the file opens. Without a window mpv would open a top-level one of its own:
    // it plays without a picture instead.
    video_ = X11VideoWindow::Create(pictureSizeInPixels());
    if (video_)
        mpv->setInt64(mpvprop::Wid, qint64(video_->id()));
    else
        mpv->setString(mpvprop::VideoOutput, QStringLiteral("null"));
}

EngineOptions WindowSurface::Options() {
    return {{"hwdec", "no"},
            {"input-cursor", "no"},
            {"input-vo-keyboard", "no"},
            {"cursor-autohide", "no"},
            {"stop-screensaver", "no"}};
}

WindowSurface::~WindowSurface() {
    // The picture's window goes with this widget; mpv's must stay until mpv has ended.
    picture_->removeEventFilter(this);
    if (!video_)
        return;
    video_->park();
    mpv_->afterEnd([window = video_.release()] { delete window; });
}

bool WindowSurface::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::WinIdChange)
        followPictureWindow();
    else if (watched == picture_ && event->type() == QEvent::Show)
        KeepUnderNativeParent(picture_);
    else if (watched == picture_ && event->type() == QEvent::Resize && video_)
        video_->resize(pictureSizeInPixels());
    return QWidget::eventFilter(watched, event);
}

QSize WindowSurface::pictureSizeInPixels() const {
    return (QSizeF(picture_->size()) * picture_->devicePixelRatioF()).toSize();
}

// Qt makes the picture's window when the control is first shown, and anew if it ever has to.
void WindowSurface::followPictureWindow() {
    if (!video_)
        return;
    const WId id = picture_->internalWinId();
    if (!id) {
        // The old window is on its way out, and would take mpv's with it.
        video_->park();
        return;
    }
    // Qt tells of its new window before it has sent the request that makes it.
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        X11VideoWindow::Sync(x11->connection());
    video_->moveInto(uint32_t(id), pictureSizeInPixels());
    // Below whatever the control shows over the video, as the widgets' order has it.
    if (QWindow* window = picture_->windowHandle())
        window->lower();
}

void WindowSurface::onEvent(const mpv_event* e) {
    if (FollowDisplaySize(e, kSizeReply, &videoSize_))
        placePicture();
    else if (e->event_id == MPV_EVENT_PROPERTY_CHANGE && e->reply_userdata == kOutputReply) {
        const auto* p = static_cast<const mpv_event_property*>(e->data);
        outputOpen_ = p->format == MPV_FORMAT_FLAG && *static_cast<int*>(p->data);
        showPictureWhenOutputOpen();
    }
}

// mpv often opens its output before the host has shown its window. A native child shown then
// makes Qt create the top-level window, which creates the child's window a second time inside
// the first creation: one of the two is left on the server, and mpv's window may be moved into
// the one that never shows. So the picture waits for the surface's own show.
void WindowSurface::showPictureWhenOutputOpen() {
    if (outputOpen_ && !window()->internalWinId())
        return;
    picture_->setVisible(outputOpen_);
}

void WindowSurface::showEvent(QShowEvent*) {
    showPictureWhenOutputOpen();
}

void WindowSurface::placePicture() {
    picture_->setGeometry(PictureRect(videoSize_, size()));
}

void WindowSurface::resizeEvent(QResizeEvent*) {
    placePicture();
}

void WindowSurface::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), background_);
}

// The picture's window follows mpv's output, which closes when a file ends or fails: nothing of
// an old file stays to hide. Hidden besides while the next file opens, it showed the first
// picture 100-200 ms later (the pictures drawn while it is hidden are lost).
void WindowSurface::setPictureVisible(bool) {}

void WindowSurface::setBackground(const QColor& color) {
    background_ = color;
    update();
}

} // namespace flv
