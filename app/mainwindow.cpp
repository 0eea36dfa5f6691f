#include "mainwindow.h"

#include "association/association.h"
#include "icons/icons.h"
#include "layout/design.h"
#include "layout/layout.h"
#include "platform/caption.h"
#include "platform/programfolder.h"
#include "product.h"
#include "settings/config.h"
#include "skins/skinengine.h"
#include "statuspanels.h"
#include "trayicon.h"
#include "windows/coordinator.h"

#include "flv/velmora.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <cmath>

namespace ovelo {

namespace {

// Both status timers tick this often for the life of the window.
constexpr int kStatusIntervalMs = 100;
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

QLabel* KeyLabel(QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(QStringLiteral("0"), parent), name);
    label->hide();
    return label;
}

} // namespace

MainWindow::MainWindow(WindowCoordinator& windows, const ControlCreator& createControl,
                       QWidget* parent)
    : QMainWindow(parent), windows_(windows) {
    setObjectName("Form1");
    setAcceptDrops(true);
    client_ = Named(new QWidget(this), "Form1Client");
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);
    // The layout is recorded against the design's inner size, before the first layout pass.
    SetClientSizeTwips(client_, kDesignWidth, kDesignHeight);
    createControls(createControl);
    createMenus();
    resize(client_->width(), client_->height() + menuBar()->sizeHint().height());
    trayIcon_ = CreateTrayIcon(
        this, [this] { RestoreMainWindow(); }, trayMenu());
    timer1_.setObjectName("Timer1");
    timer2_.setObjectName("Timer2");
    for (QTimer* timer : {&timer1_, &timer2_})
        timer->setInterval(kStatusIntervalMs);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Tick);
    connect(&timer2_, &QTimer::timeout, this, &MainWindow::Timer2Tick);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls(const ControlCreator& createControl) {
    // Behind the video: the video's logo keeps the top right corner.
    picture1_ = Named(new QLabel(client_), "Picture1");
    picture1_->installEventFilter(this);
    host_.emplace(client_, createControl);
    flvWidget_ = Named(host_->widget(), "flv");
    player_ = host_->player();
    host_->bindEvents(this, QStringLiteral("flv"));

    sl1_ = Named(new QSlider(Qt::Horizontal, client_), "Sl1");
    sl1_->setRange(0, 10);
    sl1_->setToolTip(QStringLiteral("拖动滑块快进或快退"));
    sl1_->installEventFilter(this);
    connect(sl1_, &QSlider::actionTriggered, this, &MainWindow::Sl1Scroll);
    sl2_ = Named(new QSlider(Qt::Horizontal, client_), "Sl2");
    sl2_->setRange(0, 100);
    connect(sl2_, &QSlider::actionTriggered, this, &MainWindow::Sl2Scroll);
    Named(new QLabel(QStringLiteral("音量:"), client_), "Label1");
    label3_ = Named(new QLabel(QStringLiteral("00:00/00:00"), client_), "Label3");
    createButtons();
    s1_ = Named(new StatusPanels({5292, 3175, 3175, 8820}, client_), "S1");
    s1_->setPanelText(1, QString::fromLatin1(kProductTitle));
    s1_->panel(1)->setToolTip(QString::fromLatin1(kProductTitle));
    createIdlePictures();
    lplay_ = KeyLabel(client_, "lplay");
    lstop_ = KeyLabel(client_, "lstop");
    llaoban_ = KeyLabel(client_, "llaoban");

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
    picture1_->setPixmap(BannerPicture(picture1_->size()));
    for (QToolButton* b : std::as_const(idlePictures_))
        b->setIconSize(b->size());
}

void MainWindow::createButtons() {
    const struct {
        const char* name;
        const char* tip;
        QIcon icon;
    } buttons[] = {{"Command1", "播放", PlayIcon()},
                   {"Command2", "暂停", PauseIcon()},
                   {"Command3", "停止", StopIcon()}};
    for (const auto& b : buttons) {
        QToolButton* button = PictureButton(client_, b.name, QString::fromUtf8(b.tip));
        button->setIcon(b.icon);
        button->setIconSize(QSize(32, 32));
        const bool stops = qstrcmp(b.name, "Command3") == 0;
        connect(button, &QToolButton::clicked, this,
                [this, stops] { stops ? player_->StopMovie() : player_->PauseMovie(); });
    }
    cmdplay_ = Named(new QPushButton(client_), "Cmdplay");
    cmdplay_->hide();
    connect(cmdplay_, &QPushButton::clicked, this, [this] { player_->PauseMovie(); });
}

void MainWindow::createIdlePictures() {
    const struct {
        const char* name;
        const char* tip;
        QPixmap (*picture)(QSize);
        QSize size;
        std::function<void()> command;
    } pictures[] = {
        {"Picture3", "打开Url", OpenUrlPicture, {33, 33}, showWindow(WindowId::Form2)},
        {"Picture2", "打开本地文件", OpenFilePicture, {33, 33}, [this] { OpenFile(1); }},
        {"Picture4", "Ovelo Online", OnlinePicture, {137, 121}, [this] { OpenProductSite(); }},
        {"Picture5", "设置", SettingsPicture, {33, 33}, showWindow(WindowId::Form6)},
        {"Picture6", "皮肤", SkinPicture, {33, 33}, showWindow(WindowId::Form4)},
    };
    for (const auto& p : pictures) {
        QToolButton* button = PictureButton(client_, p.name, QString::fromUtf8(p.tip));
        button->setIcon(p.picture(p.size));
        // A picture whose window the program does not have yet stays off.
        button->setEnabled(bool(p.command));
        if (p.command)
            connect(button, &QToolButton::clicked, this, p.command);
        idlePictures_.append(button);
    }
}

QList<QWidget*> MainWindow::idlePictures() const {
    return {idlePictures_.begin(), idlePictures_.end()};
}

int MainWindow::volumeSliderValue() const {
    return sl2_->value();
}

void MainWindow::Load(const QString& commandLineText) {
    resizeinit(client_);
    // The stored form, "\" then Skin\Blue.skn: the engine takes either separator.
    SkinH_AttachEx(ProgramFolder() + QLatin1Char('\\') + ReadSetting(ini::SkinUrl), QString());
    SkinH_SetAero(1);
    SetCaption(this, ReadSetting(ini::Title));
    // Not a whole number: the player keeps its own start volume.
    if (const std::optional<int> sound = ReadWholeNumber(ini::Sound))
        player_->SetVolume(*sound);
    if (ReadSetting(ini::KeysOn) == QLatin1String(ini::On)) {
        const bool bossKeyOn = ReadSetting(ini::BossKeyOn) == QLatin1String(ini::On);
        lplay_->setText(ReadSetting(ini::PlayKey));
        lstop_->setText(ReadSetting(ini::StopKey));
        if (bossKeyOn)
            llaoban_->setText(ReadSetting(ini::BossKey));
    }
    player_->PlayMovie(commandLineText);
    RegisterFileAssociations();
    flvWidget_->setFocus();
    timer1_.start();
    timer2_.start();
}

QString MainWindow::CommandLineText(const QStringList& arguments) {
    QString text = arguments.mid(1).join(QLatin1Char(' '));
    text.replace(QLatin1Char('"'), QLatin1Char(' '));
    return text.trimmed();
}

void MainWindow::RunCloseSequence() {
    WriteSetting(ini::Sound, QString::number(player_->Volume()));
    // A single-precision number as it prints: up to seven significant digits (37.52).
    WriteSetting(ini::MediaTime, QString::number(double(player_->CurrentTime()), 'g', 7));
    WriteSetting(ini::MediaUrl, player_->Movie());
    const QRect frame = frameGeometry();
    WriteSetting(ini::WindowHeight,
                 QString::number(std::lround(frame.height() * TwipsPerPixelY(this))));
    WriteSetting(ini::WindowWidth,
                 QString::number(std::lround(frame.width() * TwipsPerPixelX(this))));
    windows_.unloadAll();
}

void MainWindow::Quit() {
    RunCloseSequence();
    close();
}

void MainWindow::endProgram() {
    // Taken for a close already done: nothing that comes after this may save the settings.
    closing_ = true;
    timer1_.stop();
    timer2_.stop();
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A close from the menu has written once already; the unload writes a second time, and
    // never a third.
    if (!closing_) {
        closing_ = true;
        RunCloseSequence();
        timer1_.stop();
        timer2_.stop();
        if (trayIcon_)
            trayIcon_->hide();
        emit closed();
    }
    event->accept();
}

} // namespace ovelo
