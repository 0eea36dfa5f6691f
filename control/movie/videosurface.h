// The widgets that show mpv's pictures. Which one is used is decided at run time.
#pragma once

#include "mpvhandle.h"

#include <QColor>
#include <QImage>
#include <QOpenGLWidget>
#include <QWidget>
#include <functional>
#include <memory>
#include <mpv/render.h>

class QPainter;

namespace flv {

class SoftwareRenderer;

class MpvHandle;

enum class SurfaceKind { OpenGL, Software, X11Window, Null };
// OVELO_VIDEO=gl|sw|x11|null overrides; otherwise OpenGL on a real GPU, else mpv's own X11
// output in a window of ours where the display is X11, else the software surface.
SurfaceKind ChooseSurfaceKind();
// How mpv decodes for a surface. Only OpenGL can take a hardware decoder's pictures without a
// copy back: there mpv is asked for one it trusts ("auto-safe"; OVELO_HWDEC=no turns it off, any
// other value is mpv's own hwdec), and falls back to the CPU by itself where none works. The
// software surface converts on the CPU anyway, so it decodes there too.
EngineOptions DecodingOptions(SurfaceKind kind);

// Where a picture of the video's display size lies in `area`: in its own shape, centred; the
// whole area while that size is unknown.
QRect PictureRect(QSize video, QSize area);
// Watches mpv's display size (observed under `tag`): true when `e` told of it.
void ObserveDisplaySize(MpvHandle* mpv, uint64_t tag);
bool FollowDisplaySize(const mpv_event* e, uint64_t tag, QSize* size);

class PictureControl {
  public:
    virtual ~PictureControl() = default;
    virtual void setPictureVisible(bool visible) = 0;
    virtual void setBackground(const QColor& color) = 0;
    // Whether mpv's video output can start now: a file opened before then would play without
    // its picture. `ready` runs once it can.
    virtual bool canShowVideo() const { return true; }
    virtual void whenReady(std::function<void()> ready) { ready(); }
};

// Paints only the background: for runs without a display and for the null output.
class BlankSurface : public QWidget, public PictureControl {
  public:
    explicit BlankSurface(QWidget* parent = nullptr);
    void setPictureVisible(bool) override {}
    void setBackground(const QColor& color) override;
};

// Shows the pictures a SoftwareRenderer converts on its own thread, at the size shown.
class SoftwareSurface : public QWidget, public PictureControl {
    Q_OBJECT
  public:
    SoftwareSurface(MpvHandle* mpv, QWidget* parent = nullptr);
    ~SoftwareSurface() override;
    void setPictureVisible(bool visible) override;
    void setBackground(const QColor& color) override;

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    void requestPicture();
    void showFrame(const QImage& frame, bool opaque);
    void followPaintDevice(const QPainter& painter);
    void onEvent(const mpv_event* e);
    QRect pictureRect() const;
    MpvHandle* mpv_;
    std::unique_ptr<SoftwareRenderer> renderer_;
    QSize videoSize_; // display size of the video, as last reported by mpv
    QImage frame_;
    bool frameOpaque_ = false; // the frame's fourth byte is 0xff everywhere
    bool opaqueNeeded_ = true; // what the renderer was last told
    QColor background_ = Qt::black;
    bool pictureVisible_ = true;
};

class GlSurface : public QOpenGLWidget, public PictureControl {
    Q_OBJECT
  public:
    GlSurface(MpvHandle* mpv, QWidget* parent = nullptr);
    ~GlSurface() override;
    void setPictureVisible(bool visible) override;
    void setBackground(const QColor& color) override;
    // The render context comes with the GL context, when the widget is first shown.
    bool canShowVideo() const override { return render_ || !mpv_->ok() || contextFailed_; }
    void whenReady(std::function<void()> ready) override;

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    void freeRenderContext();
    void onEvent(const mpv_event* e);
    static void onUpdate(void* self);
    MpvHandle* mpv_;
    mpv_render_context* render_ = nullptr;
    QColor background_ = Qt::black;
    bool pictureVisible_ = true;
    int64_t vid_ = 0;      // the video track selected, as last reported by mpv
    int64_t savedVid_ = 0; // the track to select again in a new context
    bool contextFailed_ = false;
    std::function<void()> ready_;
};

} // namespace flv
