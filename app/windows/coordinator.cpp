#include "windows/coordinator.h"

#include "windows/form.h"

#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcWindows, "ovelo.windows", QtWarningMsg)

namespace ovelo {

WindowCoordinator::WindowCoordinator(QObject* parent) : QObject(parent) {}

WindowCoordinator::~WindowCoordinator() {
    // Top-level windows have no parent to take them along.
    for (WindowId id : kUnloadOrder)
        delete loaded(id);
}

bool WindowCoordinator::has(WindowId id) const {
    return factories_.count(id) > 0;
}

void WindowCoordinator::setFactory(WindowId id, Factory factory) {
    factories_[id] = std::move(factory);
}

QWidget* WindowCoordinator::loaded(WindowId id) const {
    const auto found = windows_.find(id);
    return found == windows_.end() ? nullptr : found->second.data();
}

QWidget* WindowCoordinator::window(WindowId id) {
    if (QWidget* existing = loaded(id))
        return existing;
    const auto factory = factories_.find(id);
    if (factory == factories_.end() || !main_) {
        qCWarning(lcWindows) << "no window" << int(id);
        return nullptr;
    }
    WindowContext context{*main_, *this};
    QWidget* created = factory->second(context);
    if (!created)
        return nullptr;
    windows_[id] = created;
    // Forgotten at once on close, not only when the deferred deletion comes: the next use
    // makes a new one.
    if (auto* form = qobject_cast<Form*>(created))
        connect(form, &Form::unloaded, this, [this, id, form] {
            if (loaded(id) == form)
                windows_.erase(id);
            if (const auto kept = keptReady_.find(id); kept != keptReady_.end())
                makeReadyLater(id, kept->second);
        });
    return created;
}

void WindowCoordinator::keepReady(WindowId id, std::chrono::milliseconds after) {
    keptReady_[id] = after;
    makeReadyLater(id, after);
}

void WindowCoordinator::makeReadyLater(WindowId id, std::chrono::milliseconds after) {
    QTimer::singleShot(after, this, [this, id] {
        if (!unloadedAll_)
            window(id);
    });
}

QWidget* WindowCoordinator::show(WindowId id) {
    QWidget* w = window(id);
    if (!w)
        return nullptr;
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void WindowCoordinator::unloadAll() {
    unloadedAll_ = true;
    for (WindowId id : kUnloadOrder) {
        QWidget* w = loaded(id);
        if (!w || !w->close() || qobject_cast<Form*>(w))
            continue;
        // A window that only hides on close is unloaded all the same.
        windows_.erase(id);
        w->deleteLater();
    }
}

} // namespace ovelo
