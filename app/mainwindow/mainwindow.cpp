#include "mainwindow/mainwindow.h"

#include "icons/icons.h"
#include "layout/design.h"
#include "layout/layout.h"
#include "mainwindow/commands.h"
#include "mainwindow/mediacontrols.h"
#include "mainwindow/opendialog.h"
#include "mainwindow/playbackcontroller.h"
#include "mainwindow/statuspanels.h"
#include "mainwindow/statuspresenter.h"
#include "mainwindow/trayicon.h"
#include "platform/caption.h"
#include "windows/coordinator.h"

#include "flv/velmora.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <cmath>

namespace ovelo {

namespace {

// The design's inner area under the menu bar, in twips.
constexpr int kDesignWidth = 9915;
constexpr int kDesignHeight = 6360;

QToolButton* PictureButton(QWidget* parent, const char* name, const QString& tip) {
    auto* button = Named(new QToolButton(parent), name);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

MainWindow::MainWindow(WindowCoordinator& windows, const ControlCreator& createControl,
                       QWidget* parent)
    : QMainWindow(parent) {
    setObjectName("Form1");
    setAcceptDrops(true);
    client_ = Named(new QWidget(this), "Form1Client");
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);
    // The layout is recorded against the design's inner size, before the first layout pass.
    SetClientSizeTwips(client_, kDesignWidth, kDesignHeight);
    createControls(createControl);
    controller_ =
        std::make_unique<PlaybackController>(*player_, windows, static_cast<MainView&>(*this));
    createCommands(windows);
    createButtons();
    createIdlePictures();
    createMenus();
    mediaControls_ = std::make_unique<MediaControls>(*commands_, *controller_);
    resize(client_->width(), client_->height() + menuBar()->sizeHint().height());
    trayIcon_ = CreateTrayIcon(
        this, [this] { commands_->trigger(Command::RestoreWindow); }, trayMenu());
    connect(controller_.get(), &PlaybackController::started, status_.get(),
            &StatusPresenter::start);
    connect(controller_.get(), &PlaybackController::ending, status_.get(), &StatusPresenter::stop);
    connect(status_.get(), &StatusPresenter::statusTick, commands_, &CommandSet::refresh);
}

MainWindow::~MainWindow() = default;

MediaCommands& MainWindow::mediaControls() const {
    return *mediaControls_;
}

void MainWindow::createControls(const ControlCreator& createControl) {
    // Behind the video: the video's logo keeps the top right corner.
    banner_ = Named(new QLabel(client_), "Picture1");
    banner_->installEventFilter(this);
    host_.emplace(client_, createControl);
    flvWidget_ = Named(host_->widget(), "flv");
    player_ = host_->player();
    host_->bindEvents(this, QStringLiteral("flv"));

    seekSlider_ = Named(new QSlider(Qt::Horizontal, client_), "Sl1");
    seekSlider_->setRange(0, 10);
    seekSlider_->setToolTip(tr("拖动滑块快进或快退"));
    seekSlider_->installEventFilter(this);
    // The slider's position is already where the user put it; its value follows later.
    connect(seekSlider_, &QSlider::actionTriggered, this, [this] {
        controller_->seekToSliderPosition(seekSlider_->sliderPosition(), seekSlider_->maximum());
    });
    volumeSlider_ = Named(new QSlider(Qt::Horizontal, client_), "Sl2");
    volumeSlider_->setRange(0, 100);
    connect(volumeSlider_, &QSlider::actionTriggered, this,
            [this] { controller_->setVolume(volumeSlider_->sliderPosition()); });
    Named(new QLabel(tr("音量:"), client_), "Label1");
    auto* timeText = Named(new QLabel(QStringLiteral("00:00/00:00"), client_), "Label3");
    auto* panels = Named(new StatusPanels({5292, 3175, 3175, 8820}, client_), "S1");
    status_ = std::make_unique<StatusPresenter>(
        *player_, StatusPresenter::Widgets{this, seekSlider_, volumeSlider_, timeText, panels});
}

void MainWindow::createButtons() {
    const struct {
        const char* name;
        const char* tip;
        QIcon icon;
        Command command;
    } buttons[] = {{"Command1", QT_TR_NOOP("播放"), PlayIcon(), Command::TogglePlayback},
                   {"Command2", QT_TR_NOOP("暂停"), PauseIcon(), Command::TogglePlayback},
                   {"Command3", QT_TR_NOOP("停止"), StopIcon(), Command::Stop}};
    for (const auto& b : buttons) {
        QToolButton* button = PictureButton(client_, b.name, tr(b.tip));
        button->setIcon(b.icon);
        button->setIconSize(QSize(32, 32));
        connect(button, &QToolButton::clicked, this,
                [this, command = b.command] { commands_->trigger(command); });
    }
    // The form's hidden play button, kept in its place.
    auto* hidden = Named(new QPushButton(client_), "Cmdplay");
    hidden->hide();
    connect(hidden, &QPushButton::clicked, this,
            [this] { commands_->trigger(Command::TogglePlayback); });
}

void MainWindow::createIdlePictures() {
    const struct {
        const char* name;
        const char* tip;
        QPixmap (*picture)(QSize);
        QSize size;
        Command command;
    } pictures[] = {
        {"Picture3", QT_TR_NOOP("打开Url"), OpenUrlPicture, {33, 33}, Command::OpenAddress},
        {"Picture2", QT_TR_NOOP("打开本地文件"), OpenFilePicture, {33, 33}, Command::OpenFile},
        {"Picture4", "Ovelo Online", OnlinePicture, {137, 121}, Command::ProductSite},
        {"Picture5", QT_TR_NOOP("设置"), SettingsPicture, {33, 33}, Command::Settings},
        {"Picture6", QT_TR_NOOP("皮肤"), SkinPicture, {33, 33}, Command::SkinManager},
    };
    for (const auto& p : pictures) {
        QToolButton* button = PictureButton(client_, p.name, tr(p.tip));
        button->setIcon(p.picture(p.size));
        // A picture whose window the program does not have stays off.
        button->setEnabled(commands_->action(p.command) != nullptr);
        connect(button, &QToolButton::clicked, this,
                [this, command = p.command] { commands_->trigger(command); });
        idlePictures_.append(button);
    }
    PlaceAndRecord(client_, {{"Picture1", 8400, 0, 1335, 375},
                             {"flv", 0, 0, 9975, 4935},
                             {"Sl1", 0, 4920, 9855, 375},
                             {"Sl2", 8040, 5400, 1575, 375},
                             {"Label1", 7560, 5440, 495, 255},
                             {"Label3", 120, 5520, 3615, 375},
                             {"Command1", 3840, 5280, 735, 615},
                             {"Command2", 4680, 5280, 735, 615},
                             {"Command3", 5520, 5280, 735, 615},
                             {"Cmdplay", 9240, 6240, 1215, 495},
                             {"S1", 0, 5985, 9915, 375},
                             {"Picture2", 3480, 3480, 495, 495},
                             {"Picture3", 4320, 3480, 495, 495},
                             {"Picture4", 4080, 1200, 2055, 1815},
                             {"Picture5", 6120, 3480, 495, 495},
                             {"Picture6", 5160, 3480, 495, 495}});
    banner_->setPixmap(BannerPicture(banner_->size()));
    for (QToolButton* b : std::as_const(idlePictures_))
        b->setIconSize(b->size());
}

QList<QWidget*> MainWindow::idlePictures() const {
    return {idlePictures_.begin(), idlePictures_.end()};
}

void MainWindow::recordLayout() {
    resizeinit(client_);
}

void MainWindow::setCaption(const QString& caption) {
    SetCaption(this, caption);
}

void MainWindow::focusVideo() {
    flvWidget_->setFocus();
}

int MainWindow::volumeSliderValue() const {
    return volumeSlider_->value();
}

void MainWindow::setVolumeSliderValue(int value) {
    volumeSlider_->setValue(value);
}

void MainWindow::setSeekSliderValue(int value) {
    seekSlider_->setValue(value);
}

void MainWindow::setIdleScreenShown(bool shown) {
    for (QWidget* picture : idlePictures())
        picture->setVisible(shown);
}

void MainWindow::showAndFocus() {
    show();
    raise();
    activateWindow();
}

void MainWindow::setWindowShown(bool shown) {
    setVisible(shown);
}

bool MainWindow::windowShown() const {
    return isVisible();
}

QScreen* MainWindow::windowScreen() const {
    return screen();
}

QSize MainWindow::outerSizeTwips() const {
    const QRect frame = frameGeometry();
    return {int(std::lround(frame.width() * TwipsPerPixelX(this))),
            int(std::lround(frame.height() * TwipsPerPixelY(this)))};
}

void MainWindow::chooseFile(std::function<void(const QString&)> chosen) {
    if (chooseFile_) {
        chosen(chooseFile_(this));
        return;
    }
    // The tray's 打开文件 still reaches a window the dialog blocks: it finds the same dialog.
    if (openDialog_) {
        openDialog_->raise();
        openDialog_->activateWindow();
        return;
    }
    QFileDialog* dialog = CreateOpenDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    openDialog_ = dialog;
    connect(dialog, &QFileDialog::finished, this, [dialog, chosen = std::move(chosen)](int result) {
        chosen(result == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString());
    });
    // Window-modal: the main window waits for the answer, the rest of the program does not.
    dialog->open();
}

void MainWindow::refuse(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, tr("警告"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::closeWindow() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (controller_->windowClosing()) {
        status_->stop();
        if (trayIcon_)
            trayIcon_->hide();
        emit closed();
    }
    event->accept();
}

} // namespace ovelo
