#include "windows/coordinator.h"

#include "finder/finderwindow.h"
#include "updater/updaterwindow.h"
#include "windows/aboutwindow.h"
#include "windows/addresswindow.h"
#include "windows/analysisdialog.h"
#include "windows/form.h"
#include "windows/fullscreenwindow.h"
#include "windows/hintwindow.h"
#include "windows/knowledgewindow.h"
#include "windows/mainaccess.h"
#include "windows/settingsdialog.h"
#include "windows/skinmanager.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWindows, "ovelo.windows", QtWarningMsg)

namespace ovelo {

namespace {

// The windows the program has, and how each is made.
std::map<WindowId, WindowCoordinator::Factory> ProgramWindows() {
    return {
        {WindowId::Address, [](WindowContext& c) { return new AddressWindow(c.main); }},
        {WindowId::FullScreen,
         [](WindowContext& c) {
             return new FullScreenWindow(c.main, c.windows, c.main.mainScreen());
         }},
        {WindowId::SkinManager, [](WindowContext&) { return new SkinManager; }},
        {WindowId::About, [](WindowContext&) { return new AboutWindow; }},
        {WindowId::Settings, [](WindowContext& c) { return new SettingsDialog(c.main); }},
        {WindowId::AboutFlv, [](WindowContext&) { return KnowledgeWindow::AboutFlv(); }},
        {WindowId::AboutF4v, [](WindowContext&) { return KnowledgeWindow::AboutF4v(); }},
        {WindowId::Analysis, [](WindowContext& c) { return new AnalysisDialog(c.windows); }},
        {WindowId::Finder, [](WindowContext& c) { return new FinderWindow(c.main, c.windows); }},
        {WindowId::Updater, [](WindowContext& c) { return new UpdaterWindow(c.main); }},
        {WindowId::FullScreenHint,
         [](WindowContext& c) { return new HintWindow(c.main.mainScreen()); }},
    };
}

} // namespace

WindowCoordinator::WindowCoordinator(QObject* parent)
    : QObject(parent), factories_(ProgramWindows()) {}

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
        });
    return created;
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
