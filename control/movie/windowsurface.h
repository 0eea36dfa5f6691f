// mpv draws into a window of its own, inside the surface (X11 without a GPU).
#pragma once

#include "videosurface.h"

#include <QColor>
#include <QSize>
#include <QWidget>
#include <memory>

namespace flv {

class MpvHandle;
class X11VideoWindow;

// No picture crosses into the program: mpv's X11 output scales and draws each frame itself,
// at the cost of mpv alone. The window mpv draws in covers only the picture; the surface paints
// the bars around it in the background colour, which mpv's own output cannot do. Anything the
// control shows over the video must be a window of its own stacked above (see Logo).
class WindowSurface : public QWidget, public PictureControl {
    Q_OBJECT
  public:
    WindowSurface(MpvHandle* mpv, QWidget* parent = nullptr);
    ~WindowSurface() override;
    // What mpv is told besides its X11 output: no hand on the input, the pointer or the
    // screensaver, which stay the host's.
    static EngineOptions Options();
    void setPictureVisible(bool visible) override;
    void setBackground(const QColor& color) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;

  private:
    void followPictureWindow();
    QSize pictureSizeInPixels() const;
    void onEvent(const mpv_event* e);
    void placePicture();
    void showPictureWhenOutputOpen();
    MpvHandle* mpv_;
    QWidget* picture_; // the program's window where mpv's lies
    std::unique_ptr<X11VideoWindow> video_;
    QSize videoSize_; // display size of the video, as last reported by mpv
    QColor background_ = Qt::black;
    bool outputOpen_ = false; // mpv's vo-configured
};

} // namespace flv
