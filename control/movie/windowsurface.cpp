#include "windowsurface.h"

#include "mpvhandle.h"
#include "mpvproperties.h"
#include "nativechild.h"
#include "x11videowindow.h"

#include <QEvent>
#include <QPainter>
#include <QWindow>
#include <utility>

namespace flv {

namespace {

constexpr uint64_t kSizeReply = 0x5857;

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
    picture_->installEventFilter(this);
    PassPointerThrough(picture_);
    if (!mpv->ok())
        return;
    connect(mpv, &MpvHandle::eventArrived, this, &WindowSurface::onEvent);
    ObserveDisplaySize(mpv, kSizeReply);
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
    if (!mpv_->ok())
        return;
    const WId id = picture_->internalWinId();
    if (!id) {
        // The old window is on its way out, and would take mpv's with it.
        if (video_)
            video_->park();
        return;
    }
    if (video_) {
        video_->moveInto(uint32_t(id), pictureSizeInPixels());
        return;
    }
    video_ = X11VideoWindow::Create(uint32_t(id), pictureSizeInPixels());
    windowTried_ = true;
    // Without a window mpv would open a top-level one of its own: it plays without a picture.
    if (video_)
        mpv_->setInt64(mpvprop::Wid, qint64(video_->id()));
    else
        mpv_->setString(mpvprop::VideoOutput, QStringLiteral("null"));
    // Below whatever the control shows over the video, as the widgets' order has it.
    if (QWindow* window = picture_->windowHandle())
        window->lower();
    if (ready_)
        std::exchange(ready_, nullptr)();
}

void WindowSurface::whenReady(std::function<void()> ready) {
    if (canShowVideo())
        ready();
    else
        ready_ = std::move(ready);
}

void WindowSurface::onEvent(const mpv_event* e) {
    if (FollowDisplaySize(e, kSizeReply, &videoSize_))
        placePicture();
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

void WindowSurface::setPictureVisible(bool visible) {
    picture_->setVisible(visible);
}

void WindowSurface::setBackground(const QColor& color) {
    background_ = color;
    update();
}

} // namespace flv
