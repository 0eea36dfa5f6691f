#include "videosurface.h"

#include "mpvhandle.h"
#include "mpvproperties.h"
#include "softwarerenderer.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPaintEngine>
#include <QPainter>
#include <QWindow>
#include <cstring>
#include <filesystem>
#include <mpv/render_gl.h>
#include <utility>

namespace flv {

namespace {

bool GpuDeviceNodes() {
    // Hardware OpenGL on Linux always goes through one of these nodes. Without them only a
    // software rasterizer is left, and asking GL would load it: ~100 ms and ~50 MB for nothing.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
        if (entry.path().filename().string().starts_with("renderD") ||
            entry.path().filename().string().starts_with("card"))
            return true;
    return std::filesystem::exists("/dev/nvidiactl", error);
}

bool RealGpu() {
    if (!GpuDeviceNodes())
        return false;
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.create();
    if (!context.makeCurrent(&surface))
        return false;
    auto renderer = QString::fromLatin1(
        reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER)));
    context.doneCurrent();
    // Software rasterizers draw mpv's GL output at several times the CPU of the SW API.
    return !renderer.contains("llvmpipe", Qt::CaseInsensitive) &&
           !renderer.contains("softpipe", Qt::CaseInsensitive) &&
           !renderer.contains("swrast", Qt::CaseInsensitive);
}

// Tag the surfaces' own property observations.
constexpr uint64_t kSizeReply = 0x5753;
constexpr uint64_t kVidReply = 0x474c;

constexpr std::chrono::milliseconds kStuckAfter{1000};

void* GetProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

} // namespace

SurfaceKind ChooseSurfaceKind() {
    const QByteArray forced = qgetenv("OVELO_VIDEO");
    const QString platform = QGuiApplication::platformName();
    const bool glPossible = platform != "offscreen" && platform != "minimal";
    if (forced == "null")
        return SurfaceKind::Null;
    if (forced == "sw")
        return SurfaceKind::Software;
    const bool x11 = platform == QLatin1String("xcb");
    if (forced == "x11")
        return x11 ? SurfaceKind::X11Window : SurfaceKind::Software;
    // Qt crashes creating a QOpenGLWidget on offscreen or minimal, whatever is asked.
    if (forced == "gl")
        return glPossible ? SurfaceKind::OpenGL : SurfaceKind::Software;
    if (!glPossible)
        return SurfaceKind::Software;
    // The answer cannot change while running, and each control instance asks.
    static const bool gpu = RealGpu();
    if (gpu)
        return SurfaceKind::OpenGL;
    // Without a GPU, mpv's own X11 output drawing into a window of ours costs what mpv costs;
    // the software surface's hand-over of every picture through Qt costs a fifth more at small
    // sizes.
    return x11 ? SurfaceKind::X11Window : SurfaceKind::Software;
}

EngineOptions DecodingOptions(SurfaceKind kind) {
    if (kind != SurfaceKind::OpenGL)
        return {{"hwdec", "no"}, {"gpu-hwdec-interop", "no"}};
    const QByteArray chosen = qgetenv("OVELO_HWDEC").trimmed();
    return {{"hwdec", chosen.isEmpty() ? QByteArray("auto-safe") : chosen}};
}

QRect PictureRect(QSize video, QSize area) {
    if (video.width() <= 0 || video.height() <= 0)
        return QRect(QPoint(0, 0), area);
    const QSize fitted = video.scaled(area, Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2),
                 fitted);
}

void ObserveDisplaySize(MpvHandle* mpv, uint64_t tag) {
    mpv_observe_property(mpv->get(), tag, mpvprop::DisplayWidth, MPV_FORMAT_INT64);
    mpv_observe_property(mpv->get(), tag, mpvprop::DisplayHeight, MPV_FORMAT_INT64);
}

bool FollowDisplaySize(const mpv_event* e, uint64_t tag, QSize* size) {
    if (e->event_id != MPV_EVENT_PROPERTY_CHANGE || e->reply_userdata != tag)
        return false;
    const auto* p = static_cast<const mpv_event_property*>(e->data);
    const int value = p->format == MPV_FORMAT_INT64 ? int(*static_cast<int64_t*>(p->data)) : 0;
    if (!strcmp(p->name, mpvprop::DisplayWidth))
        size->setWidth(value);
    else if (!strcmp(p->name, mpvprop::DisplayHeight))
        size->setHeight(value);
    else
        return false;
    return true;
}

BlankSurface::BlankSurface(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackground(Qt::black);
}

void BlankSurface::setBackground(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

SoftwareSurface::SoftwareSurface(MpvHandle* mpv, QWidget* parent) : QWidget(parent), mpv_(mpv) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!mpv->ok())
        return;
    renderer_ = std::make_unique<SoftwareRenderer>(mpv);
    connect(renderer_.get(), &SoftwareRenderer::frameReady, this, &SoftwareSurface::showFrame,
            Qt::QueuedConnection);
    // Observed rather than read: reading the size while a frame is rendered would wait for
    // mpv's core, which after a start or seek waits for that very frame.
    connect(mpv, &MpvHandle::eventArrived, this, &SoftwareSurface::onEvent);
    ObserveDisplaySize(mpv, kSizeReply);
}

SoftwareSurface::~SoftwareSurface() {
    // Freeing the render context waits for mpv's core: it ends with the handle, off this thread.
    if (renderer_)
        mpv_->adoptRenderer(std::move(renderer_));
}

void SoftwareSurface::onEvent(const mpv_event* e) {
    if (FollowDisplaySize(e, kSizeReply, &videoSize_))
        requestPicture();
}

QRect SoftwareSurface::pictureRect() const {
    // The rest of the area shows the background.
    return PictureRect(videoSize_, size());
}

void SoftwareSurface::requestPicture() {
    if (!renderer_)
        return;
    const qreal ratio = devicePixelRatioF();
    renderer_->requestSize((pictureRect().size() * ratio).expandedTo(QSize(1, 1)), ratio);
}

void SoftwareSurface::showFrame(const QImage& frame, bool opaque) {
    frame_ = frame;
    frameOpaque_ = opaque;
    update(pictureRect());
}

void SoftwareSurface::resizeEvent(QResizeEvent*) {
    requestPicture();
}

void SoftwareSurface::setPictureVisible(bool visible) {
    pictureVisible_ = visible;
    update();
}

void SoftwareSurface::setBackground(const QColor& color) {
    background_ = color;
    update();
}

// An X11 window without an alpha channel ignores a pixel's fourth byte (Qt paints it through an
// alpha format all the same, and copies an RGB32 picture in as it is). Everything else may read
// that byte: Wayland's compositor, a translucent window, a grab into a pixmap. The renderer
// learns from each paint which of these it is.
void SoftwareSurface::followPaintDevice(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QWindow* window = this->window()->windowHandle();
    QBackingStore* store = this->window()->backingStore();
    const bool onOpaqueX11Window =
        engine && window && store && QGuiApplication::platformName() == QLatin1String("xcb") &&
        !window->format().hasAlpha() && engine->paintDevice() == store->paintDevice();
    if (onOpaqueX11Window == opaqueNeeded_) {
        opaqueNeeded_ = !onOpaqueX11Window;
        renderer_->setOpaqueNeeded(opaqueNeeded_);
    }
    // A frame rendered before the renderer knew: rare, so mended here.
    if (opaqueNeeded_ && !frameOpaque_) {
        MakeOpaque(frame_);
        frameOpaque_ = true;
    }
}

void SoftwareSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!pictureVisible_ || frame_.isNull()) {
        painter.fillRect(rect(), background_);
        return;
    }
    followPaintDevice(painter);
    const QRect target = pictureRect();
    for (const QRect& bar : QRegion(rect()).subtracted(target))
        painter.fillRect(bar, background_);
    // Rendered at the size shown: a plain copy. Only while a resize is on its way is it scaled.
    if (frame_.deviceIndependentSize().toSize() == target.size())
        painter.drawImage(target.topLeft(), frame_);
    else
        painter.drawImage(target, frame_);
}

GlSurface::GlSurface(MpvHandle* mpv, QWidget* parent) : QOpenGLWidget(parent), mpv_(mpv) {
    if (!mpv->ok())
        return;
    // Followed, not read when the context goes: reading would wait for mpv's core.
    connect(mpv, &MpvHandle::eventArrived, this, &GlSurface::onEvent);
    mpv_observe_property(mpv->get(), kVidReply, mpvprop::Vid, MPV_FORMAT_INT64);
}

void GlSurface::onEvent(const mpv_event* e) {
    if (e->event_id != MPV_EVENT_PROPERTY_CHANGE || e->reply_userdata != kVidReply)
        return;
    const auto* p = static_cast<const mpv_event_property*>(e->data);
    // "no" and "auto" come without a number.
    vid_ = p->format == MPV_FORMAT_INT64 ? *static_cast<const int64_t*>(p->data) : 0;
}

GlSurface::~GlSurface() {
    // QOpenGLWidget's own destructor destroys the context, after this object is gone.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    makeCurrent();
    freeRenderContext();
    doneCurrent();
}

void GlSurface::freeRenderContext() {
    if (!render_)
        return;
    // Freeing waits until mpv's core lets go of the context. A core that has left a
    // request unanswered this long may never do so: the context and its engine are left to the
    // process's exit instead of freezing the window.
    if (mpv_->seemsStuck(kStuckAfter)) {
        mpv_->abandon();
        render_ = nullptr;
        return;
    }
    makeCurrent();
    // mpv drops its video track with the context; remember it to select it again.
    savedVid_ = vid_;
    mpv_render_context_free(render_);
    render_ = nullptr;
}

void GlSurface::initializeGL() {
    if (!mpv_->ok())
        return;
    // A move into another top-level window re-creates the GL context under us.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlSurface::freeRenderContext,
            Qt::DirectConnection);
    mpv_opengl_init_params gl{&GetProcAddress, nullptr};
    // VDPAU's and VA-API's pictures reach the GL context through the X display they came from.
    Display* x11 = nullptr;
    if (const auto* x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        x11 = x->display();
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {x11 ? MPV_RENDER_PARAM_X11_DISPLAY : MPV_RENDER_PARAM_INVALID, x11},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_->get(), params) < 0) {
        render_ = nullptr;
        // What was waiting plays without its picture, as it would have before.
        contextFailed_ = true;
        if (ready_)
            std::exchange(ready_, nullptr)();
        return;
    }
    mpv_render_context_set_update_callback(render_, &GlSurface::onUpdate, this);
    if (savedVid_ > 0) {
        // A new context stays black until the video track is selected again.
        mpv_->setInt64(mpvprop::Vid, savedVid_);
        savedVid_ = 0;
    }
    if (ready_)
        std::exchange(ready_, nullptr)();
}

void GlSurface::whenReady(std::function<void()> ready) {
    if (canShowVideo())
        ready();
    else
        ready_ = std::move(ready);
}

void GlSurface::onUpdate(void* self) {
    QMetaObject::invokeMethod(static_cast<GlSurface*>(self), qOverload<>(&QWidget::update),
                              Qt::QueuedConnection);
}

void GlSurface::paintGL() {
    auto* f = context()->functions();
    f->glClearColor(background_.redF(), background_.greenF(), background_.blueF(), 1.0f);
    f->glClear(GL_COLOR_BUFFER_BIT);
    if (!render_)
        return;
    const qreal dpr = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), int(width() * dpr),
                       int(height() * dpr), 0};
    int flipY = 1;
    int skip = pictureVisible_ ? 0 : 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void GlSurface::setPictureVisible(bool visible) {
    pictureVisible_ = visible;
    update();
}

void GlSurface::setBackground(const QColor& color) {
    background_ = color;
    update();
}

} // namespace flv
