// Creates each secondary window on first use, hands out its single instance while it exists,
// and forgets it when it closes. Owned by the program's top level, beside the main window, which
// also tells it how each window is made.
#pragma once

#include "windows/windowid.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <map>

namespace ovelo {

class MainAccess;
class WindowCoordinator;

// What a window is made with.
struct WindowContext {
    MainAccess& main;
    WindowCoordinator& windows;
};

class WindowCoordinator : public QObject {
    Q_OBJECT
  public:
    using Factory = std::function<QWidget*(WindowContext&)>;

    explicit WindowCoordinator(QObject* parent = nullptr);
    ~WindowCoordinator() override;

    // The main window, which every window may reach through its narrow interface.
    void setMain(MainAccess* main) { main_ = main; }

    // Whether the program has this window yet: a menu item appears only when it does.
    bool has(WindowId id) const;
    // The window's single instance, created hidden if it is not loaded; nullptr if the
    // program has no such window.
    QWidget* window(WindowId id);
    // The instance if it is loaded, without creating it.
    QWidget* loaded(WindowId id) const;
    // Shows the window (creating it first if needed) without owner or modality, in front and
    // with the focus.
    QWidget* show(WindowId id);
    // Unloads every loaded window in the closing order; each runs its own closing step. No
    // window is made ready again after this.
    void unloadAll();
    // Keeps the window made, hidden, from `after` on and again `after` each close: its own
    // start-up has run when the user first opens it.
    void keepReady(WindowId id, std::chrono::milliseconds after);

    // How a window is made; a window without a factory is one the program does not have.
    void setFactory(WindowId id, Factory factory);

    template <typename T> T* window(WindowId id) { return qobject_cast<T*>(window(id)); }
    template <typename T> T* loaded(WindowId id) const { return qobject_cast<T*>(loaded(id)); }

  private:
    void makeReadyLater(WindowId id, std::chrono::milliseconds after);

    MainAccess* main_ = nullptr;
    bool unloadedAll_ = false;
    std::map<WindowId, std::chrono::milliseconds> keptReady_;
    std::map<WindowId, Factory> factories_;
    std::map<WindowId, QPointer<QWidget>> windows_;
};

} // namespace ovelo
