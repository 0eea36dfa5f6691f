#include "softwarerenderer.h"

#include "mpvhandle.h"

namespace flv {

namespace {

// mpv leaves the padding byte of "bgr0" undefined, but Qt reads an RGB32 pixel as opaque only with
// 0xff in its top byte: a compositor (Wayland's) would otherwise blend the picture with what lies
// behind it. Where nothing reads that byte (an X11 window without alpha) the pass is skipped. The
// bounds are read once: an out-of-line call per pixel made this loop a tenth of the program's
// playback CPU.
void MakeOpaque(QImage& image) {
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] |= 0xff000000u;
    }
}

} // namespace

SoftwareRenderer::SoftwareRenderer(MpvHandle* mpv) {
    // Made here, before the caller can ask mpv to play: a video started without a render
    // context has no picture for good. Making one does not wait for mpv's core.
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv->ok() && mpv_render_context_create(&render_, mpv->get(), params) >= 0)
        mpv_render_context_set_update_callback(render_, &SoftwareRenderer::onUpdate, this);
    else
        render_ = nullptr;
    // From here on every call on the context is made on the thread.
    thread_.setObjectName(QStringLiteral("ovelo/video"));
    moveToThread(&thread_);
    thread_.start();
}

SoftwareRenderer::~SoftwareRenderer() {
    QMetaObject::invokeMethod(this, &SoftwareRenderer::shutDown, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void SoftwareRenderer::shutDown() {
    if (!render_)
        return;
    // After this returns mpv calls onUpdate no more, so no call can reach a deleted object.
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
}

void SoftwareRenderer::onUpdate(void* self) {
    auto* renderer = static_cast<SoftwareRenderer*>(self);
    if (!renderer->pending_.exchange(true))
        QMetaObject::invokeMethod(
            renderer, [renderer] { renderer->render(false); }, Qt::QueuedConnection);
}

void SoftwareRenderer::requestSize(QSize pixels, qreal devicePixelRatio, bool opaque) {
    QMetaObject::invokeMethod(
        this,
        [this, pixels, devicePixelRatio, opaque] { resize(pixels, devicePixelRatio, opaque); },
        Qt::QueuedConnection);
}

void SoftwareRenderer::resize(QSize pixels, qreal devicePixelRatio, bool opaque) {
    if (pixels == size_ && devicePixelRatio == devicePixelRatio_ && opaque == opaque_)
        return;
    size_ = pixels;
    devicePixelRatio_ = devicePixelRatio;
    opaque_ = opaque;
    render(true);
}

QImage& SoftwareRenderer::freeBuffer(QSize pixels) {
    // A buffer the UI no longer holds is unshared: writing into it cannot tear a shown picture.
    for (QImage& buffer : buffers_)
        if (buffer.size() == pixels && buffer.isDetached())
            return buffer;
    for (QImage& buffer : buffers_)
        if (buffer.isNull() || buffer.isDetached())
            return buffer = QImage(pixels, QImage::Format_RGB32);
    // Both still queued or shown: the UI lags; a new one leaves theirs alone.
    return buffers_[0] = QImage(pixels, QImage::Format_RGB32);
}

void SoftwareRenderer::render(bool force) {
    pending_ = false;
    if (!render_)
        return;
    const bool newFrame = mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME;
    if ((!newFrame && !force) || size_.isEmpty())
        return;
    QImage& image = freeBuffer(size_);
    int sizeParam[2] = {size_.width(), size_.height()};
    size_t stride = image.bytesPerLine();
    // With video-timing-offset 0 the frame is already due when mpv reports it.
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, sizeParam},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(render_, params) < 0)
        return;
    if (opaque_)
        MakeOpaque(image);
    image.setDevicePixelRatio(devicePixelRatio_);
    emit frameReady(image);
}

} // namespace flv
