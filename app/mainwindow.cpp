#include "mainwindow.h"

#include "icons/icons.h"
#include "layout/layout.h"
#include "nullvelmora.h"
#include "platform/controlfactory.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"
#include "statuspanels.h"

#include "flv/velmora.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <cmath>

Q_LOGGING_CATEGORY(lcMain, "ovelo.main", QtWarningMsg)

namespace ovelo {

namespace {

constexpr const char* kPlayerProgId = "Flv.Velmora";

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFont DesignFont(const QStringList& families, int points) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(points);
    font.setBold(true);
    return font;
}

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

MainWindow::MainWindow(ControlCreator createControl, QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setAcceptDrops(true);
    client_ = new QWidget(this);
    client_->setObjectName("Form1Client");
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);
    createControls(createControl);
    createMenus();
    createTrayIcon();
    timer1_.setObjectName("Timer1");
    timer2_.setObjectName("Timer2");
    timer1_.setInterval(100);
    timer2_.setInterval(100);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Tick);
    connect(&timer2_, &QTimer::timeout, this, &MainWindow::Timer2Tick);
    // The design's inner area, 9915 x 6360 twips, under the menu bar; the layout is recorded
    // against it before the window is first laid out.
    const QSize inner(int(std::lround(9915 / TwipsPerPixelX(this))),
                      int(std::lround(6360 / TwipsPerPixelY(this))));
    client_->resize(inner);
    resize(inner.width(), inner.height() + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::createPlayer(const ControlCreator& createControl) {
    flvWidget_ = createControl ? createControl(client_)
                               : CreateControl(QString::fromLatin1(kPlayerProgId), client_);
    player_ = flvWidget_ ? qobject_cast<flv::Velmora*>(flvWidget_) : nullptr;
    if (!player_) {
        // A blank area where the video would be; every command goes on working.
        qCWarning(lcMain) << "no player control: the video area stays blank";
        delete flvWidget_;
        flvWidget_ = new QWidget(client_);
        fallbackPlayer_ = std::make_unique<NullVelmora>();
        player_ = fallbackPlayer_.get();
    }
    flvWidget_->setObjectName("flv");
    PlaceInTwips(flvWidget_, 0, 0, 9975, 4935);
    bindPlayerEvents();
}

void MainWindow::bindPlayerEvents() {
    // By name, as a host binds a control's events; a stand-in has none to bind.
    const struct {
        const char* signal;
        const char* slot;
    } bindings[] = {
        {SIGNAL(PlayProgress(float, float, float)), SLOT(flv_PlayProgress(float, float, float))},
        {SIGNAL(OnReadyStateChange(QString)), SLOT(flv_OnReadyStateChange(QString))},
        {SIGNAL(MouseDown(short, short, float, float)),
         SLOT(flv_MouseDown(short, short, float, float))},
        {SIGNAL(MouseMove(short, short, float, float)),
         SLOT(flv_MouseMove(short, short, float, float))},
        {SIGNAL(KeyDown(short, short)), SLOT(flv_KeyDown(short, short))},
    };
    const QMetaObject* meta = flvWidget_->metaObject();
    for (const auto& b : bindings) {
        const QByteArray signature = QMetaObject::normalizedSignature(b.signal + 1);
        if (meta->indexOfSignal(signature) >= 0)
            connect(flvWidget_, b.signal, this, b.slot);
    }
}

void MainWindow::createControls(const ControlCreator& createControl) {
    // Behind the video: the video's logo keeps the top right corner.
    picture1_ = Named(new QLabel(client_), "Picture1");
    picture1_->setPixmap(BannerPicture(QSize(89, 25)));
    picture1_->installEventFilter(this);
    PlaceInTwips(picture1_, 8400, 0, 1335, 375);
    createPlayer(createControl);

    sl1_ = Named(new QSlider(Qt::Horizontal, client_), "Sl1");
    sl1_->setRange(0, 10);
    sl1_->setToolTip(QStringLiteral("拖动滑块快进或快退"));
    sl1_->installEventFilter(this);
    PlaceInTwips(sl1_, 0, 4920, 9855, 375);
    connect(sl1_, &QSlider::actionTriggered, this, &MainWindow::Sl1Scroll);

    sl2_ = Named(new QSlider(Qt::Horizontal, client_), "Sl2");
    sl2_->setRange(0, 100);
    PlaceInTwips(sl2_, 8040, 5400, 1575, 375);
    connect(sl2_, &QSlider::actionTriggered, this, &MainWindow::Sl2Scroll);

    label1_ = Named(new QLabel(QStringLiteral("音量:"), client_), "Label1");
    label1_->setFont(DesignFont(
        {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")},
        9));
    PlaceInTwips(label1_, 7560, 5440, 495, 255);
    label3_ = Named(new QLabel(QStringLiteral("00:00/00:00"), client_), "Label3");
    label3_->setFont(DesignFont(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")},
        12));
    PlaceInTwips(label3_, 120, 5520, 3615, 375);

    command1_ = PictureButton(client_, "Command1", QStringLiteral("播放"));
    command1_->setIcon(PlayIcon());
    PlaceInTwips(command1_, 3840, 5280, 735, 615);
    command2_ = PictureButton(client_, "Command2", QStringLiteral("暂停"));
    command2_->setIcon(PauseIcon());
    PlaceInTwips(command2_, 4680, 5280, 735, 615);
    command3_ = PictureButton(client_, "Command3", QStringLiteral("停止"));
    command3_->setIcon(StopIcon());
    PlaceInTwips(command3_, 5520, 5280, 735, 615);
    for (QToolButton* b : {command1_, command2_, command3_})
        b->setIconSize(QSize(32, 32));
    cmdplay_ = Named(new QPushButton(client_), "Cmdplay");
    cmdplay_->hide();
    PlaceInTwips(cmdplay_, 9240, 6240, 1215, 495);
    connect(command1_, &QToolButton::clicked, this, [this] { player_->PauseMovie(); });
    connect(command2_, &QToolButton::clicked, this, [this] { player_->PauseMovie(); });
    connect(command3_, &QToolButton::clicked, this, [this] { player_->StopMovie(); });
    connect(cmdplay_, &QPushButton::clicked, command1_, &QToolButton::click);

    s1_ = Named(new StatusPanels({5292, 3175, 3175, 8820}, client_), "S1");
    s1_->setPanelText(1, QStringLiteral("Ovelo 2011 Beta2"));
    s1_->panel(1)->setToolTip(QStringLiteral("Ovelo 2011 Beta2"));
    PlaceInTwips(s1_, 0, 5985, 9915, 375);

    createIdlePictures();
    lplay_ = KeyLabel(client_, "lplay");
    lstop_ = KeyLabel(client_, "lstop");
    llaoban_ = KeyLabel(client_, "llaoban");
}

void MainWindow::createIdlePictures() {
    picture2_ = PictureButton(client_, "Picture2", QStringLiteral("打开本地文件"));
    picture2_->setIcon(OpenFilePicture(QSize(33, 33)));
    PlaceInTwips(picture2_, 3480, 3480, 495, 495);
    connect(picture2_, &QToolButton::clicked, this, [this] { OpenFile(1); });
    picture3_ = PictureButton(client_, "Picture3", QStringLiteral("打开Url"));
    picture3_->setIcon(OpenUrlPicture(QSize(33, 33)));
    PlaceInTwips(picture3_, 4320, 3480, 495, 495);
    picture4_ = PictureButton(client_, "Picture4", QStringLiteral("Ovelo Online"));
    picture4_->setIcon(OnlinePicture(QSize(137, 121)));
    PlaceInTwips(picture4_, 4080, 1200, 2055, 1815);
    connect(picture4_, &QToolButton::clicked, this, &MainWindow::OpenProductSite);
    picture5_ = PictureButton(client_, "Picture5", QStringLiteral("设置"));
    picture5_->setIcon(SettingsPicture(QSize(33, 33)));
    PlaceInTwips(picture5_, 6120, 3480, 495, 495);
    picture6_ = PictureButton(client_, "Picture6", QStringLiteral("皮肤"));
    picture6_->setIcon(SkinPicture(QSize(33, 33)));
    PlaceInTwips(picture6_, 5160, 3480, 495, 495);
    // The address window, the settings and the skins come later: until then they stay off.
    for (QToolButton* b : {picture3_, picture5_, picture6_})
        b->setEnabled(false);
    for (QToolButton* b : {picture2_, picture3_, picture4_, picture5_, picture6_})
        b->setIconSize(b->size());
}

QList<QWidget*> MainWindow::idlePictures() const {
    return {picture3_, picture2_, picture4_, picture5_, picture6_};
}

void MainWindow::createMenus() {
    fileMenu_ = Named(menuBar()->addMenu(QStringLiteral("文件")), "mf");
    auto add = [this](QMenu* menu, const char* name, const QString& text, QKeySequence keys,
                      auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(fileMenu_, "mo", QStringLiteral("打开"), QKeySequence("Ctrl+O"), [this] { OpenFile(1); });
    add(fileMenu_, "dq", QStringLiteral("读取保存进度"), QKeySequence("Ctrl+R"),
        [this] { ResumeSavedPosition(); });
    fileMenu_->addSeparator()->setObjectName("m2");
    add(fileMenu_, "mt", QStringLiteral("退出"), QKeySequence("Ctrl+Q"), [this] { Quit(); });

    operationMenu_ = Named(menuBar()->addMenu(QStringLiteral("操作")), "ms");
    add(operationMenu_, "mplay", QStringLiteral("播放"), QKeySequence("Shift+F1"),
        [this] { player_->PauseMovie(); });
    add(operationMenu_, "mpause", QStringLiteral("暂停"), QKeySequence("Ctrl+Z"),
        [this] { player_->PauseMovie(); });
    add(operationMenu_, "mtz", QStringLiteral("停止"), QKeySequence("Ctrl+T"),
        [this] { player_->StopMovie(); });

    // Never on the menu bar; its shortcuts still work from the window.
    trayMenu_ = Named(new QMenu(QStringLiteral("托盘菜单项"), this), "tc");
    add(trayMenu_, "zjm", QStringLiteral("主界面"), QKeySequence("Ctrl+F5"),
        [this] { RestoreMainWindow(); });
    trayMenu_->addSeparator()->setObjectName("mx");
    add(trayMenu_, "dkwj", QStringLiteral("打开文件"), QKeySequence("Ctrl+F1"),
        [this] { OpenFile(2); });
    trayMenu_->addSeparator()->setObjectName("mnnn");
    add(trayMenu_, "mnuplay", QStringLiteral("播放"), QKeySequence("Ctrl+F3"),
        [this] { player_->PauseMovie(); });
    add(trayMenu_, "mnupause", QStringLiteral("暂停"), QKeySequence("Shift+F4"),
        [this] { player_->PauseMovie(); });
    add(trayMenu_, "mnustop", QStringLiteral("停止"), QKeySequence(),
        [this] { player_->StopMovie(); });
    trayMenu_->addSeparator()->setObjectName("mnnnnnn");
    add(trayMenu_, "mnuquit", QStringLiteral("退出"), QKeySequence(), [this] { Quit(); });
    addActions(trayMenu_->actions());
}

void MainWindow::createTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    trayIcon_ = new QSystemTrayIcon(PlayIcon(), this);
    trayIcon_->setObjectName("trayIcon");
    trayIcon_->setToolTip(QStringLiteral("Ovelo 2011 Beta2"));
    // A click on the icon comes as the window-message numbers of a button release.
    connect(trayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                const double tpp = TwipsPerPixelX(this);
                if (reason == QSystemTrayIcon::Trigger)
                    MouseMoveRule(514 * tpp);
                else if (reason == QSystemTrayIcon::Context)
                    MouseMoveRule(517 * tpp);
            });
    trayIcon_->show();
}

void MainWindow::Load(const QString& commandLineText) {
    resizeinit(client_);
    const QString ini = ConfigIniPath();
    const QString title = GetFromIni("Config", "Title", ini);
    const QString sound = GetFromIni("Config", "Sound", ini);
    const QString key = GetFromIni("Fast", "Key", ini);
    setWindowTitle(title);
    bool whole = false;
    const int volume = sound.toInt(&whole);
    // Not a whole number: the player keeps its own start volume.
    if (whole)
        player_->SetVolume(volume);
    QString laoBanKey;
    if (key == QLatin1String("on")) {
        laoBanKey = GetFromIni("Fast", "LaoBanKey", ini);
        lplay_->setText(GetFromIni("Fast", "Play", ini));
        lstop_->setText(GetFromIni("Fast", "Stop", ini));
    }
    if (laoBanKey == QLatin1String("on"))
        llaoban_->setText(GetFromIni("Fast", "LaoBan", ini));
    player_->PlayMovie(commandLineText);
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
    const QString ini = ConfigIniPath();
    WritePrivateProfileStringA("Config", "Sound", QString::number(player_->Volume()), ini);
    // A single-precision number as it prints: up to seven significant digits (37.52).
    WritePrivateProfileStringA("Media", "Time",
                               QString::number(double(player_->CurrentTime()), 'g', 7), ini);
    WritePrivateProfileStringA("Media", "Url", player_->Movie(), ini);
    const QRect frame = frameGeometry();
    WritePrivateProfileStringA(
        "Load", "H", QString::number(std::lround(frame.height() * TwipsPerPixelY(this))), ini);
    WritePrivateProfileStringA(
        "Load", "W", QString::number(std::lround(frame.width() * TwipsPerPixelX(this))), ini);
}

void MainWindow::Quit() {
    RunCloseSequence();
    close();
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
