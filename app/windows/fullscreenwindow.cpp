#include "windows/fullscreenwindow.h"

#include "layout/design.h"
#include "layout/layout.h"
#include "platform/rounding.h"
#include "windows/coordinator.h"
#include "windows/mainaccess.h"

#include "flv/velmora.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace ovelo {

namespace {

constexpr short kEscape = 27;

} // namespace

FullScreenWindow::FullScreenWindow(MainAccess& main, QScreen* screen,
                                   const PlayerHost::ControlCreator& createControl)
    : Form("Form3", QStringLiteral("Form3"), 10320, 6135), main_(main) {
    // No frame, above every other window, and no taskbar entry beside the main window's.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Kept black under every skin by skins/look/kept.qss.
    setFocusPolicy(Qt::StrongFocus);

    host_.emplace(this, createControl);
    host_->widget()->setObjectName("flv");
    player_ = host_->player();
    host_->bindEvents(this, QStringLiteral("flv"));
    PlaceAndRecord(this, {{"flv", 0, 0, 10335, 6135}});

    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        setScreen(screen);
        // Without a window manager the full-screen state alone does not size the window.
        setGeometry(screen->geometry());
    }
    setWindowState(Qt::WindowFullScreen);
}

void FullScreenWindow::flv_KeyPress(short KeyAscii) {
    if (KeyAscii == kEscape)
        leaveOnEscape(KeyRoad::Player);
}

void FullScreenWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        leaveOnEscape(KeyRoad::Window);
}

void FullScreenWindow::leaveOnEscape(KeyRoad road) {
    if (stateBeforeEscape_)
        return;
    stateBeforeEscape_ = player_->State();
    const qint32 position = RoundEven(player_->CurrentTime());
    flv::Velmora& mainPlayer = main_.mainPlayer();
    mainPlayer.GotoTime(position);
    mainPlayer.PauseMovie();
    if (road == KeyRoad::Player)
        player_->StopMovie();
    else
        player_->PauseMovie();
    close();
}

void FullScreenWindow::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    resizeform(this);
}

void FullScreenWindow::unloading() {
    // Only a movie that had ended by itself ends the main window's playback too.
    if (stateBeforeEscape_.value_or(player_->State()) == flv::state::Stop)
        main_.mainPlayer().StopMovie();
}

void HandOverToFullScreen(WindowCoordinator& windows, MainAccess& main) {
    auto* fullScreen = qobject_cast<FullScreenWindow*>(windows.show(WindowId::FullScreen));
    if (!fullScreen)
        return;
    flv::Velmora& mainPlayer = main.mainPlayer();
    flv::Velmora& second = fullScreen->player();
    second.PlayMovie(mainPlayer.Movie());
    second.GotoTime(RoundEven(mainPlayer.CurrentTime()));
    second.SetVolume(main.volumeSliderValue());
    mainPlayer.PauseMovie();
    QWidget* hint = windows.show(WindowId::FullScreenHint);
    if (!hint)
        return;
    QObject::connect(fullScreen, &Form::unloaded, hint, &QWidget::close);
    // Once the banner is gone the keys go to the full-screen window again, where Esc works.
    QObject::connect(hint, &QObject::destroyed, fullScreen, [fullScreen] {
        if (!fullScreen->isVisible())
            return;
        fullScreen->activateWindow();
        fullScreen->setFocus();
    });
}

} // namespace ovelo
