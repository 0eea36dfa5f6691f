// What happens on the main window: keys, the pointer, drops, and the player's events.
#include "layout/layout.h"
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/playbackcontroller.h"
#include "mainwindow/statuspresenter.h"
#include "mainwindow/windowcodes.h"

#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSlider>
#include <QUrl>

namespace ovelo {

namespace {

int KeyAscii(const QKeyEvent* event) {
    const QString text = event->text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

} // namespace

// The video's key codes and the window's characters take the same road, in the same order.
void MainWindow::keyPressed(int code, bool onSeekSlider) {
    const auto place = onSeekSlider ? ShortcutKeys::Place::SeekSlider : ShortcutKeys::Place::Window;
    for (Command command : controller_->shortcutKeys().commandsFor(code, place))
        commands_->trigger(command);
}

void MainWindow::flv_KeyDown(short KeyCode, short) {
    keyPressed(KeyCode, false);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Only keys meant for the window itself: a key its controls pass on is theirs.
    QWidget* focus = focusWidget();
    if (!focus || focus == this || focus == client_)
        if (const int ascii = KeyAscii(event))
            keyPressed(ascii, false);
    QMainWindow::keyPressEvent(event);
}

// The pointer's position in twips, taken as a window message's code: the tray's old way back.
void MainWindow::pointerMoved(double xTwips) {
    const float pixels = float(xTwips) / float(TwipsPerPixelX(this));
    if (pixels == float(code::kLeftButtonUp))
        showAndFocus();
    else if (pixels == float(code::kRightButtonUp))
        trayMenu()->popup(QCursor::pos());
}

void MainWindow::flv_MouseDown(short Button, short, float, float) {
    if (Button == code::kRightButton)
        operationMenu()->popup(QCursor::pos());
}

void MainWindow::flv_MouseMove(short, short, float X, float) {
    pointerMoved(X);
}

void MainWindow::flv_PlayProgress(float, float CurrentTime, float) {
    status_->showPosition(CurrentTime);
    controller_->followProgress();
}

void MainWindow::flv_OnReadyStateChange(const QString& newState) {
    status_->showState(newState);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        resizeform(client_);
    else if (watched == client_ && event->type() == QEvent::MouseMove)
        pointerMoved(static_cast<QMouseEvent*>(event)->position().x() * TwipsPerPixelX(this));
    else if (watched == banner_ && event->type() == QEvent::MouseButtonPress &&
             static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        operationMenu()->popup(QCursor::pos());
    else if (watched == seekSlider_ && event->type() == QEvent::KeyPress)
        if (const int ascii = KeyAscii(static_cast<QKeyEvent*>(event)))
            keyPressed(ascii, true);
    // Keys and clicks go on to the control they were meant for.
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    controller_->playAddress(QDir::toNativeSeparators(urls.first().toLocalFile()));
    event->acceptProposedAction();
}

} // namespace ovelo
