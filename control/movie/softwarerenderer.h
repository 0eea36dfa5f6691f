// Converts mpv's frames into pictures on a thread of its own, so that scaling a large or
// full-screen picture never holds up the user interface.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThread>
#include <atomic>
#include <mpv/render.h>

namespace flv {

class MpvHandle;

// Lives on its own thread; every mpv_render_* call after the context's making happens there. The UI
// thread only asks for a size and receives finished pictures through queued signals.
class SoftwareRenderer : public QObject {
    Q_OBJECT
  public:
    // Makes the render context and starts the thread; if mpv refuses a context, no picture
    // ever comes.
    explicit SoftwareRenderer(MpvHandle* mpv);
    // Frees the render context on its thread and stops the thread before returning: the owner
    // of the mpv handle may destroy it right after. Waits for mpv, so it runs where the engine
    // ends (see engineend.h), never on the user-interface thread.
    ~SoftwareRenderer() override;
    // The picture's size in device pixels. A new size renders the current frame again.
    // opaque: whether the pixels' padding byte must say opaque, for where it is read as alpha.
    void requestSize(QSize pixels, qreal devicePixelRatio, bool opaque);

  signals:
    // A finished picture; emitted on the render thread, meant for a queued connection.
    void frameReady(const QImage& frame);

  private:
    void shutDown();
    void resize(QSize pixels, qreal devicePixelRatio, bool opaque);
    void render(bool force);
    QImage& freeBuffer(QSize pixels);
    static void onUpdate(void* self);

    QThread thread_;
    mpv_render_context* render_ = nullptr;
    // Many update callbacks before the thread gets round to one are one render.
    std::atomic<bool> pending_{false};
    QSize size_; // in device pixels
    qreal devicePixelRatio_ = 1.0;
    bool opaque_ = true;
    // One shown by the UI, one being filled; a picture still held by the UI is shared, and a
    // free one is rendered into. Full screen makes each several megabytes: two are enough.
    QImage buffers_[2];
};

} // namespace flv
