// Times the full-screen hand-over with the real player: from 全屏 to the first full-screen
// frame on screen, and from Esc to the main player playing again; and the memory while both
// players exist. Run under an X server by bench/fullscreen.
#include "eventloop.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/playbackcontroller.h"
#include "platform/programfolder.h"
#include "player/controlfactory.h"
#include "windows/coordinator.h"
#include "windows/fullscreenwindow.h"
#include "windows/mainaccess.h"

#include "flv/velmora.h"
#include "shell/programwindows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

using namespace ovelo;
using bench::Median;
using bench::MsUntil;

namespace {

void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QImage Grab(const QRect& area) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

// Test pictures are strongly coloured; the desktop, the window and black bars are grey.
bool Colourful(const QImage& image) {
    int hits = 0;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8) {
            const QColor c = image.pixelColor(x, y);
            const int spread =
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            hits += spread > 150;
        }
    return hits >= 20;
}

qint64 KiBOf(const char* field) {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString movie = QFileInfo(args.value(1)).absoluteFilePath();
    const int rounds = args.value(2, "5").toInt();
    QTemporaryDir folder;
    for (const QString& name : QDir(OVELO_PROGRAM_DIR).entryList(QDir::Files))
        QFile::copy(QDir(OVELO_PROGRAM_DIR).filePath(name), folder.filePath(name));
    SetProgramFolderForTesting(folder.path());

    // The player library of the build's program folder, for both players.
    const auto createControl = [](QWidget* parent) {
        return CreateControl(QString::fromLatin1(flv::ProgId), parent, OVELO_PROGRAM_DIR);
    };
    WindowCoordinator windows;
    RegisterProgramWindows(windows);
    windows.setFactory(WindowId::FullScreen, [&](WindowContext& c) {
        return new FullScreenWindow(c.main, c.main.mainScreen(), createControl);
    });
    MainWindow window(windows, createControl);
    windows.setMain(&window.controller());
    window.controller().load({});
    window.show();
    flv::Velmora& mainPlayer = *window.player();
    auto* fullScreenAction = window.findChild<QAction*>("mnuqp");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Away from the main window: only the full-screen video colours it.
    const QRect outside(screen.width() / 2 + 60, screen.height() / 2 + 60, screen.width() / 3,
                        screen.height() / 3);

    std::vector<qint64> toFullScreen, toMainPlaying, oneRss, bothRss;
    QTextStream out(stdout);
    for (int round = 0; round < rounds; ++round) {
        mainPlayer.PlayMovie(movie);
        MsUntil(
            [&] { return mainPlayer.State() == flv::state::Play && mainPlayer.CurrentTime() > 1; });
        Wait(500);
        oneRss.push_back(KiBOf("VmRSS:"));
        QElapsedTimer t;
        t.start();
        fullScreenAction->trigger();
        MsUntil([&] { return Colourful(Grab(outside)); });
        toFullScreen.push_back(t.elapsed());
        Wait(800);
        bothRss.push_back(KiBOf("VmRSS:"));
        auto* fullScreen = windows.loaded<FullScreenWindow>(WindowId::FullScreen);
        const float handedBack = float(qRound(fullScreen->player().CurrentTime()));
        t.restart();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(fullScreen, &escape);
        MsUntil([&] {
            return mainPlayer.State() == flv::state::Play &&
                   mainPlayer.CurrentTime() > handedBack + 0.04f;
        });
        // Until a position report shows the main player past the handed-back position: an
        // upper bound, the reports coming every 50 ms.
        toMainPlaying.push_back(t.elapsed());
        out << "round " << round + 1 << ": full screen " << toFullScreen.back()
            << " ms, back to playing " << toMainPlaying.back() << " ms, RSS "
            << oneRss.back() / 1024 << " MiB with one player, " << bothRss.back() / 1024
            << " MiB with two" << Qt::endl;
        Wait(300);
    }
    out << "median: full screen " << Median(toFullScreen) << " ms, back to playing "
        << Median(toMainPlaying) << " ms; peak RSS " << KiBOf("VmHWM:") / 1024 << " MiB"
        << Qt::endl;
    window.close();
    return 0;
}
