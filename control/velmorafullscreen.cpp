// The control's own full screen: the video surface moves into the library's full-screen window.
#include "controlfullscreenwindow.h"
#include "inputrelay.h"
#include "twips.h"
#include "velmoracontrol.h"

#include <QMessageBox>
#include <QScreen>
#include <cmath>

namespace flv {

ControlFullScreenWindow* VelmoraControl::fullScreenWindow() const {
    return fullScreenWindow_.get();
}

void VelmoraControl::SetFullScreen(bool on) {
    if (!userMode_) {
        // Shown without blocking: the host's call returns, as every other put does.
        auto* box = new QMessageBox(QMessageBox::Information, tr("警告"), tr("设计时不可用"),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    if (on != fullScreen_) {
        if (on) {
            const double tpp = TwipsPerPixel(this);
            normalWidth_ = float(width() * tpp);
            normalHeight_ = qint32(std::nearbyint(height() * tpp));
            SwitchFullScreen();
            fullScreenWatch_.start();
        } else {
            SwitchFullScreen();
        }
    }
    fullScreen_ = on;
    emit propertyChanged("FullScreen");
}

void VelmoraControl::SwitchFullScreen() {
    if (!fullScreenWindow_ || !surfaceWindow_)
        return;
    relay_->releaseCapture();
    if (!fullScreen_)
        EnterFullScreen();
    else
        LeaveFullScreen();
}

void VelmoraControl::EnterFullScreen() {
    QScreen* target = screen();
    if (target)
        resize(target->geometry().size());
    surfaceWindow_->setParent(fullScreenWindow_.get());
    surfaceWindow_->show();
    // The control's own surface is uncovered now and takes its own focus.
    setFocusProxy(nullptr);
    fullScreenWindow_->ShowOn(target);
    surfaceWindow_->setFocus();
    fullScreen_ = true;
}

void VelmoraControl::LeaveFullScreen() {
    const double tpp = TwipsPerPixel(this);
    resize(int(std::lround(normalWidth_ / tpp)), int(std::lround(normalHeight_ / tpp)));
    surfaceWindow_->setParent(this);
    surfaceWindow_->setGeometry(rect());
    surfaceWindow_->show();
    setFocusProxy(surfaceWindow_);
    fullScreenWindow_->hide();
    surfaceWindow_->setFocus();
    fullScreen_ = false;
}

void VelmoraControl::watchFullScreen() {
    if (fullScreenWindow_ && fullScreenWindow_->IsNormal()) {
        fullScreenWatch_.stop();
        SetFullScreen(false);
    }
}

void VelmoraControl::inputAreaKeyDown(short keyCode) {
    if (fullScreenWindow_ && fullScreenWindow_->IsMaximized() &&
        ControlFullScreenWindow::IsLeaveKey(keyCode))
        fullScreenWindow_->SetNormal();
}

} // namespace flv
