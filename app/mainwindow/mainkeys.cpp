// The main window's keys, mouse rules and boss key.
#include "layout/layout.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/windowcodes.h"
#include "settings/config.h"

#include "flv/velmora.h"

#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QUrl>

namespace ovelo {

namespace {

int KeyAscii(const QKeyEvent* event) {
    const QString text = event->text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

} // namespace

bool MainWindow::KeyMatches(const QLabel* label, double code) const {
    // A code that is not a number, hand-edited into Config.ini, matches no key.
    bool ok = false;
    const double stored = QLocale::c().toDouble(label->text().trimmed(), &ok);
    return ok && code != 0 && stored == code;
}

void MainWindow::flv_KeyDown(short KeyCode, short) {
    KeyOnWindow(KeyCode);
}

// The video's key codes and the window's characters take the same road, in the same order.
void MainWindow::KeyOnWindow(int code) {
    if (KeyMatches(llaoban_, code)) {
        hide();
        player_->SetVolume(0);
    }
    if (KeyMatches(lstop_, code))
        player_->StopMovie();
    if (KeyMatches(lplay_, code))
        cmdplay_->click();
}

void MainWindow::KeyOnSeekSlider(int keyAscii) {
    // The boss key here only hides (or shows again); the sound goes on.
    if (KeyMatches(llaoban_, keyAscii))
        setVisible(!isVisible());
    if (KeyMatches(lplay_, keyAscii))
        player_->PauseMovie();
    if (KeyMatches(lstop_, keyAscii))
        player_->StopMovie();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Only keys meant for the window itself: a key its controls pass on is theirs.
    QWidget* focus = focusWidget();
    if (!focus || focus == this || focus == client_)
        if (const int ascii = KeyAscii(event))
            KeyOnWindow(ascii);
    QMainWindow::keyPressEvent(event);
}

void MainWindow::MouseMoveRule(double xTwips) {
    const float pixels = float(xTwips) / float(TwipsPerPixelX(this));
    if (pixels == float(code::kLeftButtonUp))
        ShowAndFocus();
    else if (pixels == float(code::kRightButtonUp))
        trayMenu()->popup(QCursor::pos());
}

void MainWindow::flv_MouseDown(short Button, short, float, float) {
    if (Button == code::kRightButton)
        operationMenu()->popup(QCursor::pos());
}

void MainWindow::flv_MouseMove(short, short, float X, float) {
    MouseMoveRule(X);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        resizeform(client_);
    else if (watched == client_ && event->type() == QEvent::MouseMove)
        MouseMoveRule(static_cast<QMouseEvent*>(event)->position().x() * TwipsPerPixelX(this));
    else if (watched == picture1_ && event->type() == QEvent::MouseButtonPress &&
             static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        operationMenu()->popup(QCursor::pos());
    else if (watched == sl1_ && event->type() == QEvent::KeyPress)
        if (const int ascii = KeyAscii(static_cast<QKeyEvent*>(event)))
            KeyOnSeekSlider(ascii);
    // Keys and clicks go on to the control they were meant for.
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ShowAndFocus() {
    show();
    raise();
    activateWindow();
}

void MainWindow::RestoreMainWindow() {
    ShowAndFocus();
    if (const std::optional<int> sound = ReadWholeNumber(ini::Sound))
        player_->SetVolume(*sound);
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
    player_->PlayMovie(QDir::toNativeSeparators(urls.first().toLocalFile()));
    event->acceptProposedAction();
}

} // namespace ovelo
