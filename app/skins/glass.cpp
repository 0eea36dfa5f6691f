#include "skins/glass.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace ovelo {

namespace {

// Slight: the text stays as legible as on an opaque window.
constexpr double kGlassOpacity = 0.94;
// Marks the windows the glass made see-through, the only ones it makes opaque again.
constexpr char kGlassed[] = "oveloGlassed";

void Glaze(QWidget* window, bool on) {
    if (on && TakesGlass(window) && window->windowOpacity() == 1.0) {
        window->setWindowOpacity(kGlassOpacity);
        window->setProperty(kGlassed, true);
    } else if (!on && window->property(kGlassed).toBool()) {
        window->setWindowOpacity(1.0);
        window->setProperty(kGlassed, false);
    }
}

// Glazes each window as it is shown, the ones made after the switch included.
class GlassFilter : public QObject {
  public:
    using QObject::QObject;
    bool on = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow())
                Glaze(widget, on);
        }
        return false;
    }
};

#if QT_CONFIG(xcb)
bool X11CompositorRunning() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    // A compositing manager owns this selection for the screen it composites.
    static const char name[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool running = atom->atom != XCB_NONE && owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return running;
}
#endif

} // namespace

bool CompositorRunning() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#if QT_CONFIG(xcb)
    if (platform == QLatin1String("xcb"))
        return X11CompositorRunning();
#endif
    return false;
}

bool TakesGlass(const QWidget* window) {
    const QString name = window->objectName();
    const bool secondary = name.startsWith(QLatin1String("Form")) && name != QLatin1String("Form1");
    const Qt::WindowType type = window->windowType();
    return secondary && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool) &&
           !window->findChild<QWidget*>(QStringLiteral("flv"));
}

bool SetGlass(bool on) {
    if (!qApp)
        return false;
    static QPointer<GlassFilter> filter;
    if (!filter) {
        filter = new GlassFilter(qApp);
        qApp->installEventFilter(filter);
    }
    filter->on = on && CompositorRunning();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->isVisible())
            Glaze(window, filter->on);
    return true;
}

} // namespace ovelo
