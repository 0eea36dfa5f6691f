#include "windows/hintwindow.h"

#include "icons/icons.h"
#include "layout/design.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <utility>

namespace ovelo {

namespace {

std::chrono::milliseconds shownFor = HintWindow::kShow;

} // namespace

std::chrono::milliseconds HintWindow::SetShowForTesting(std::chrono::milliseconds shown) {
    return std::exchange(shownFor, shown);
}

HintWindow::HintWindow(QScreen* screen) : Form("Form12", QStringLiteral("ESC"), 6705, 765) {
    // A banner: no frame, above the full-screen window, and no taskbar entry of its own.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);

    auto* label = new QLabel(tr("单击ESC按钮退出全屏模式"), this);
    label->setObjectName("Label1");
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    auto* close = new QLabel(this);
    close->setObjectName("Picture2");
    close->setToolTip(tr("关闭"));
    close->setCursor(Qt::PointingHandCursor);
    close->installEventFilter(this);
    PlaceAndRecord(this, {{"Picture1", 120, 105, 555, 555},
                          {"Label1", 840, 105, 5100, 555},
                          {"Picture2", 6150, 225, 315, 315}});
    picture->setPixmap(HintKeyPicture(picture->size()));
    close->setPixmap(HintClosePicture(close->size()));
    setFixedSize(size());

    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        setScreen(screen);
        move(screen->geometry().topLeft());
    }
    // Where the window system cannot blend windows, the banner is simply opaque.
    setWindowOpacity(kAlpha / 255.0);

    closeTimer_.setObjectName("Timer1");
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &QWidget::close);
    closeTimer_.start(shownFor);
}

bool HintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched->objectName() == QLatin1String("Picture2") &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return Form::eventFilter(watched, event);
}

} // namespace ovelo
