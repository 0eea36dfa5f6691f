#include "shell/programwindows.h"

#include "finder/finderwindow.h"
#include "updater/updaterwindow.h"
#include "windows/aboutwindow.h"
#include "windows/addresswindow.h"
#include "windows/analysisdialog.h"
#include "windows/coordinator.h"
#include "windows/fullscreenwindow.h"
#include "windows/hintwindow.h"
#include "windows/knowledgewindow.h"
#include "windows/mainaccess.h"
#include "windows/settingsdialog.h"
#include "windows/skinmanager.h"

#include "flv/velmora.h"

namespace ovelo {

namespace {

// Plays what a window chose in the main player.
template <typename W> W* PlayingChoices(W* window, MainAccess& main) {
    QObject::connect(window, &W::addressChosen, window,
                     [&main](const QString& address) { main.mainPlayer().PlayMovie(address); });
    return window;
}

// 开始分析: a finder already open only comes forward; otherwise a new one asks the service while
// the dialog waits, and the dialog hides once the answer shows (or closes, its address found).
void StartFinder(WindowCoordinator& windows, AnalysisDialog* dialog, const QString& address) {
    if (windows.loaded(WindowId::Finder)) {
        windows.show(WindowId::Finder);
        dialog->hide();
        return;
    }
    auto* finder = windows.window<FinderWindow>(WindowId::Finder);
    if (!finder) {
        dialog->hide();
        return;
    }
    QObject::connect(finder, &FinderWindow::answered, dialog, [dialog](bool found) {
        dialog->setWaiting(false);
        if (found)
            dialog->close();
        else
            dialog->hide();
    });
    QObject::connect(finder, &FinderWindow::questionWithdrawn, dialog,
                     [dialog] { dialog->setWaiting(false); });
    QObject::connect(dialog, &AnalysisDialog::closedWhileWaiting, finder, &QWidget::close);
    dialog->setWaiting(true);
    finder->ask(address);
}

AnalysisDialog* StartingTheFinder(AnalysisDialog* dialog, WindowCoordinator& windows) {
    QObject::connect(
        dialog, &AnalysisDialog::analysisRequested, dialog,
        [&windows, dialog](const QString& address) { StartFinder(windows, dialog, address); });
    return dialog;
}

} // namespace

void RegisterProgramWindows(WindowCoordinator& windows) {
    using Context = WindowContext;
    windows.setFactory(WindowId::Address,
                       [](Context& c) { return PlayingChoices(new AddressWindow, c.main); });
    windows.setFactory(WindowId::FullScreen, [](Context& c) {
        return new FullScreenWindow(c.main, c.main.mainScreen());
    });
    windows.setFactory(WindowId::SkinManager, [](Context&) { return new SkinManager; });
    windows.setFactory(WindowId::About, [](Context&) { return new AboutWindow; });
    windows.setFactory(WindowId::Settings, [](Context& c) { return new SettingsDialog(c.main); });
    windows.setFactory(WindowId::AboutFlv, [](Context&) { return KnowledgeWindow::AboutFlv(); });
    windows.setFactory(WindowId::AboutF4v, [](Context&) { return KnowledgeWindow::AboutF4v(); });
    windows.setFactory(WindowId::Analysis,
                       [](Context& c) { return StartingTheFinder(new AnalysisDialog, c.windows); });
    windows.setFactory(WindowId::Finder,
                       [](Context& c) { return PlayingChoices(new FinderWindow, c.main); });
    windows.setFactory(WindowId::Updater, [](Context& c) { return new UpdaterWindow(c.main); });
    windows.setFactory(WindowId::FullScreenHint,
                       [](Context& c) { return new HintWindow(c.main.mainScreen()); });
}

} // namespace ovelo
