// Ovelo: starting the program is creating, loading and showing the main window.
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/playbackcontroller.h"
#include "player/standinplayer.h"
#include "product.h"
#include "session/desktopsession.h"
#include "shell/closesignals.h"
#include "shell/language.h"
#include "shell/programwindows.h"
#include "skins/skinengine.h"
#include "windows/coordinator.h"

#include "flv/velmora.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// No window can be seen: the platform asked for draws nowhere, or there is no display for it.
bool Headless() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM").toLower();
    const QByteArray name = platform.split(':').first();
    if (name == "offscreen" || name == "minimal")
        return true;
    const bool needsDisplay = name.isEmpty() || name == "xcb" || name.startsWith("wayland");
    return needsDisplay && qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Without a display the player still plays: its state reports go to the terminal, and the
// program ends when the file is done with.
class HeadlessReporter : public QObject {
    Q_OBJECT
  public:
    explicit HeadlessReporter(ovelo::MainWindow* window) : window_(window) {}
    // Without the control library there is no player to report: the file cannot be played.
    void reportMissingPlayer() {
        if (!qobject_cast<ovelo::StandInPlayer*>(window_->flvWidget()))
            return;
        std::fprintf(stderr, "The player control library is missing: nothing can be played.\n");
        onState(QString::fromLatin1(flv::state::FlvNotFound));
    }
  public slots:
    void onState(const QString& state) {
        QTextStream(stdout) << "state: " << state << Qt::endl;
        const QString movie = window_->player()->Movie();
        played_ = played_ || !movie.isEmpty();
        const bool unloaded = state == flv::state::Play && movie.isEmpty() && played_;
        if (unloaded)
            QTextStream(stdout) << "the file has played to its end and is unloaded" << Qt::endl;
        // Queued: the first report can come before the event loop runs.
        if (state == flv::state::Stop || state == flv::state::FlvNotFound || unloaded)
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }

  private:
    ovelo::MainWindow* window_;
    bool played_ = false;
};

} // namespace

// The program's start, top to bottom: the application, its language and its look, the windows, the
// main window and its player, the desktop's session, the signals that end it, then the main
// window's load step (the settings, the command line's file, the file associations) and its
// showing.
int main(int argc, char** argv) {
    const bool headless = Headless();
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::fprintf(stderr,
                     "No display found: playing without a window, printing state reports.\n");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(ovelo::kProductName);
    // Before any text is made: every window takes its texts in the desktop's language.
    ovelo::InstallTranslations();
    // In force before any window is made; the load step attaches the chosen skin over it.
    ovelo::AttachProgramLook();
    // Declared first, so it goes last: it deletes what is still loaded after the main window.
    ovelo::WindowCoordinator windows;
    ovelo::RegisterProgramWindows(windows);
    ovelo::MainWindow window(windows);
    windows.setMain(&window.controller());
    HeadlessReporter reporter(&window);
    if (headless)
        QObject::connect(window.flvWidget(), SIGNAL(OnReadyStateChange(QString)), &reporter,
                         SLOT(onState(QString)));
    // Declared after the window, so it goes first and releases the screen before the player.
    ovelo::DesktopSession desktop(window.mediaControls());
    QObject::connect(&window, &ovelo::MainWindow::closed, &desktop, &ovelo::DesktopSession::end);
    QObject::connect(&window, &ovelo::MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    ovelo::CloseSignals closeSignals(
        [&window] { window.commands().trigger(ovelo::Command::Quit); });
    window.controller().load(ovelo::PlaybackController::CommandLineText(app.arguments()));
    if (headless)
        reporter.reportMissingPlayer();
    window.show();
    return app.exec();
}

#include "main.moc"
