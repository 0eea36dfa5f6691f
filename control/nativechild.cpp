#include "nativechild.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace flv {

namespace {

class PointerPassage : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return passOn(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
        default:
            return false;
        }
    }

  private:
    static bool passOn(QWidget* over, QMouseEvent* event) {
        QWidget* target = over;
        while (target && target->testAttribute(Qt::WA_TransparentForMouseEvents) &&
               !target->isWindow())
            target = target->parentWidget();
        if (!target || target == over)
            return false;
        const QPointF at = over->mapTo(target, event->position());
        QMouseEvent passed(event->type(), at, event->scenePosition(), event->globalPosition(),
                           event->button(), event->buttons(), event->modifiers(),
                           event->pointingDevice());
        passed.setTimestamp(event->timestamp());
        QCoreApplication::sendEvent(target, &passed);
        return true;
    }
};

} // namespace

void KeepUnderNativeParent(QWidget* widget) {
    QWindow* own = widget->windowHandle();
    QWidget* parent = widget->nativeParentWidget();
    if (!own || !parent || !parent->windowHandle() || own->parent() == parent->windowHandle())
        return;
    own->setParent(parent->windowHandle());
    own->setPosition(widget->mapTo(parent, QPoint(0, 0)));
}

void PassPointerThrough(QWidget* widget) {
    auto* passage = new PointerPassage(widget);
    // Qt drops a move without buttons over a widget that does not track the mouse before any
    // filter of the widget's own sees it.
    QList<QWidget*> widgets = widget->findChildren<QWidget*>();
    widgets.prepend(widget);
    for (QWidget* w : widgets) {
        w->setMouseTracking(true);
        w->installEventFilter(passage);
    }
}

} // namespace flv
