#include "videosurface.h"

#include "mpvhandle.h"
#include "mpvproperties.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <mpv/render_gl.h>

namespace flv {

namespace {

bool RealGpu() {
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
    // Qt crashes creating a QOpenGLWidget on offscreen or minimal, whatever is asked.
    if (forced == "gl")
        return glPossible ? SurfaceKind::OpenGL : SurfaceKind::Software;
    return glPossible && RealGpu() ? SurfaceKind::OpenGL : SurfaceKind::Software;
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
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv->get(), params) < 0)
        render_ = nullptr;
    if (render_)
        mpv_render_context_set_update_callback(render_, &SoftwareSurface::onUpdate, this);
}

SoftwareSurface::~SoftwareSurface() {
    if (render_)
        mpv_render_context_free(render_);
}

void SoftwareSurface::onUpdate(void* self) {
    auto* surface = static_cast<SoftwareSurface*>(self);
    QMetaObject::invokeMethod(surface, &SoftwareSurface::renderFrame, Qt::QueuedConnection);
}

QRect SoftwareSurface::pictureRect() const {
    // The video keeps its own shape, centred; the rest of the area shows the background.
    int64_t w = 0, h = 0;
    if (!mpv_->getInt64("dwidth", &w) || !mpv_->getInt64("dheight", &h) || w <= 0 || h <= 0)
        return rect();
    const QSize fitted = QSize(int(w), int(h)).scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void SoftwareSurface::renderFrame() {
    if (!render_)
        return;
    const bool newFrame = mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME;
    const QRect target = pictureRect();
    const QSize pixels = (target.size() * devicePixelRatioF()).expandedTo(QSize(1, 1));
    if (!newFrame && !frame_.isNull() && frame_.size() == pixels && target == frameRect_)
        return;
    if (frame_.size() != pixels)
        frame_ = QImage(pixels, QImage::Format_RGB32);
    frameRect_ = target;
    int sizeParam[2] = {pixels.width(), pixels.height()};
    size_t stride = frame_.bytesPerLine();
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, sizeParam},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, frame_.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
    update();
}

void SoftwareSurface::resizeEvent(QResizeEvent*) {
    renderFrame();
}

void SoftwareSurface::setPictureVisible(bool visible) {
    pictureVisible_ = visible;
    update();
}

void SoftwareSurface::setBackground(const QColor& color) {
    background_ = color;
    update();
}

void SoftwareSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (pictureVisible_ && !frame_.isNull())
        painter.drawImage(frameRect_, frame_);
}

GlSurface::GlSurface(MpvHandle* mpv, QWidget* parent) : QOpenGLWidget(parent), mpv_(mpv) {}

GlSurface::~GlSurface() {
    makeCurrent();
    freeRenderContext();
    doneCurrent();
}

void GlSurface::freeRenderContext() {
    if (!render_)
        return;
    makeCurrent();
    // mpv drops its video track with the context; remember it to select it again.
    if (!mpv_->getInt64(mpvprop::Vid, &savedVid_))
        savedVid_ = 0;
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
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_->get(), params) < 0) {
        render_ = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(render_, &GlSurface::onUpdate, this);
    if (savedVid_ > 0) {
        // A new context stays black until the video track is selected again.
        mpv_set_property(mpv_->get(), mpvprop::Vid, MPV_FORMAT_INT64, &savedVid_);
        savedVid_ = 0;
    }
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
