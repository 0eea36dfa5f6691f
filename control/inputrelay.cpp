#include "inputrelay.h"

#include "keycodes.h"
#include "logo.h"
#include "twips.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace flv {

namespace {

// Our own pointing hand; the finger tip (12, 1) is the hot spot.
const char* const kHandXpm[] = {
#include "handcursor.xpm.inc"
};

const QCursor& HandCursor() {
    static const QCursor cursor(QPixmap(kHandXpm), 12, 1);
    return cursor;
}

} // namespace

InputRelay::InputRelay(QWidget* control, QWidget* inputArea, Logo* logo)
    : QObject(control), control_(control), inputArea_(inputArea), logo_(logo) {
    inputArea_->setMouseTracking(true);
    inputArea_->installEventFilter(this);
}

bool InputRelay::eventFilter(QObject* watched, QEvent* event) {
    if (watched != inputArea_)
        return false;
    if (event->type() == QEvent::Hide)
        releaseCapture();
    return relay(event, Source::Picture1);
}

bool InputRelay::IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

bool InputRelay::relay(QEvent* event, Source source) {
    switch (event->type()) {
    case QEvent::MouseMove:
        mouseMove(static_cast<QMouseEvent*>(event), source);
        return true;
    case QEvent::MouseButtonPress:
        mousePress(static_cast<QMouseEvent*>(event), source);
        return true;
    case QEvent::MouseButtonRelease:
        mouseRelease(static_cast<QMouseEvent*>(event), source);
        return true;
    case QEvent::MouseButtonDblClick:
        mouseDoubleClick(static_cast<QMouseEvent*>(event), source);
        return true;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab keeps moving the focus between the host's controls.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        keyPress(key, source);
        return true;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        keyRelease(key);
        return true;
    }
    default:
        return false;
    }
}

QPointF InputRelay::twipsOf(QMouseEvent* e) const {
    return e->position() * TwipsPerPixel(inputArea_);
}

bool InputRelay::insideLogo(QPointF t) const {
    const double tpp = TwipsPerPixel(inputArea_);
    const QRectF logo(QPointF(logo_->pos()) * tpp, QSizeF(logo_->size()) * tpp);
    return logo.left() < t.x() && t.x() < logo.right() && logo.top() < t.y() &&
           t.y() < logo.bottom();
}

void InputRelay::trackPointer(QPointF twips) {
    if (insideLogo(twips)) {
        inputArea_->setCursor(HandCursor());
        pointerOutsideLogo_ = false;
        // Held so that the move which leaves the logo, even out of the window, still comes here.
        if (QWidget::mouseGrabber() != inputArea_ && inputArea_->isVisible())
            inputArea_->grabMouse();
    } else {
        releaseCapture();
        pointerOutsideLogo_ = true;
        inputArea_->unsetCursor();
    }
}

void InputRelay::releaseCapture() {
    if (QWidget::mouseGrabber() == inputArea_)
        inputArea_->releaseMouse();
}

void InputRelay::mouseMove(QMouseEvent* e, Source source) {
    const QPointF t = twipsOf(e);
    trackPointer(t);
    if (source == Source::Picture1)
        trackPointer(t); // the control's own move handler tracks again before it raises
    emit MouseMove(ButtonMask(e->buttons()), ShiftMask(e->modifiers()), float(t.x()), float(t.y()));
}

void InputRelay::mousePress(QMouseEvent* e, Source source) {
    afterDoubleClick_ = false;
    const QPointF t = twipsOf(e);
    const short button = ButtonCode(e->button());
    if (source == Source::Picture1 && button == 1 && insideLogo(t))
        // Nothing waits for the browser, and a failure to start one is of no consequence here.
        // The host's URL handler for the scheme, if it installed one, opens it instead.
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerPage)));
    emit MouseDown(button, ShiftMask(e->modifiers()), float(t.x()), float(t.y()));
}

void InputRelay::mouseRelease(QMouseEvent* e, Source source) {
    const QPointF t = twipsOf(e);
    const short button = ButtonCode(e->button());
    emit MouseUp(button, ShiftMask(e->modifiers()), float(t.x()), float(t.y()));
    // A click is a left press and release over the video; the release that ends a double
    // click is not another click.
    QWidget* target = source == Source::Picture1 ? inputArea_ : control_;
    const bool over = target->rect().contains(e->position().toPoint());
    const bool clicked = button == 1 && over && !afterDoubleClick_;
    afterDoubleClick_ = false;
    if (clicked && (source == Source::Control || pointerOutsideLogo_))
        emit Click();
}

void InputRelay::mouseDoubleClick(QMouseEvent* e, Source source) {
    if (e->button() != Qt::LeftButton) {
        // Only the left button double-clicks; any other second press is a press.
        mousePress(e, source);
        return;
    }
    afterDoubleClick_ = true;
    emit DblClick();
}

void InputRelay::keyPress(QKeyEvent* e, Source source) {
    const short code = VirtualKeyCode(e->key(), e->modifiers());
    if (code != 0) {
        if (source == Source::Picture1)
            emit inputAreaKeyDown(code);
        emit KeyDown(code, ShiftMask(e->modifiers()));
    }
    const QString text = e->text();
    // Typed characters only: Delete and lone modifiers type nothing.
    if (!text.isEmpty() && text.at(0).unicode() != 0x7F)
        emit KeyPress(short(text.at(0).unicode()));
}

void InputRelay::keyRelease(QKeyEvent* e) {
    // Windows repeats the key's down, not its up.
    if (e->isAutoRepeat())
        return;
    const short code = VirtualKeyCode(e->key(), e->modifiers());
    if (code != 0)
        emit KeyUp(code, ShiftMask(e->modifiers()));
}

} // namespace flv
