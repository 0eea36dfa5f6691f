#include "velmoracontrol.h"

#include "controlfullscreenwindow.h"
#include "inputrelay.h"
#include "logo.h"
#include "movie/playermovie.h"
#include "twips.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QResizeEvent>
#include <charconv>
#include <cmath>
#include <limits>

Q_LOGGING_CATEGORY(lcBridge, "ovelo.bridge", QtWarningMsg)

namespace flv {

namespace {

qint32 RoundToInt32(double v) {
    if (!std::isfinite(v))
        return 0;
    // Halves go to the even neighbour (the default rounding mode); out of range saturates.
    const double r = std::nearbyint(v);
    if (r >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (r <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(r);
}

double ReportNumber(const QString& text) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// An argument as the engine receives it: 80, 0.1, true, a text unchanged.
QString ArgumentText(const QVariant& v) {
    if (v.typeId() == QMetaType::Float) {
        // Shortest text of the single-precision value itself (0.1, not 0.100000001).
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, v.toFloat()).ptr;
        return QString::fromLatin1(buffer, int(end - buffer));
    }
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return v.toString();
}

} // namespace

VelmoraControl::VelmoraControl(QWidget* parent, EngineFactory engineFactory)
    : QWidget(parent), engineFactory_(std::move(engineFactory)), inputArea_(new QWidget(this)),
      videoArea_(new QWidget(inputArea_)), logo_(new Logo(videoArea_)),
      relay_(new InputRelay(this, inputArea_, logo_)) {
    if (!engineFactory_)
        engineFactory_ = [](QObject* p) { return new PlayerMovie(ChooseSurfaceKind(), p); };
    setObjectName("Velmora");
    inputArea_->setObjectName("Picture1");
    videoArea_->setObjectName("Picture2");
    inputArea_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(inputArea_);
    // Input over the video belongs to Picture1; the engine's surface never sees the mouse.
    videoArea_->setAttribute(Qt::WA_TransparentForMouseEvents);
    connectRelay();
    // Where the video is away in the full-screen window, the control hears the mouse itself.
    setMouseTracking(true);
    setAutoFillBackground(true);
    progressPoll_.setObjectName("Timer1");
    progressPoll_.setInterval(kProgressPollInterval);
    fullScreenWatch_.setObjectName("Timer2");
    fullScreenWatch_.setInterval(kFullScreenWatchInterval);
    // The host expects full screen to end within one interval of the window turning normal.
    fullScreenWatch_.setTimerType(Qt::PreciseTimer);
    connect(&progressPoll_, &QTimer::timeout, this,
            [this] { CallMovieFunction(QStringLiteral("getinfo"), {}); });
    connect(&fullScreenWatch_, &QTimer::timeout, this, &VelmoraControl::watchFullScreen);

    LoadPlayerMovie();
    backColor_ = 0;
    ApplyBackColor();
    mute_ = false;
    ApplyMute();
    bufferTime_ = 0.1f;
    CallMovieFunction("SetBufferTime", {bufferTime_});
    volume_ = 80;
    SendVolume(80);
}

VelmoraControl::~VelmoraControl() = default;

void VelmoraControl::connectRelay() {
    connect(relay_, &InputRelay::Click, this, &VelmoraControl::Click);
    connect(relay_, &InputRelay::DblClick, this, &VelmoraControl::DblClick);
    connect(relay_, &InputRelay::MouseDown, this, &VelmoraControl::MouseDown);
    connect(relay_, &InputRelay::MouseMove, this, &VelmoraControl::MouseMove);
    connect(relay_, &InputRelay::MouseUp, this, &VelmoraControl::MouseUp);
    // Raised before KeyDown for the same key: the full-screen keys act before the host hears.
    connect(relay_, &InputRelay::inputAreaKeyDown, this, &VelmoraControl::inputAreaKeyDown);
    connect(relay_, &InputRelay::KeyDown, this, &VelmoraControl::KeyDown);
    connect(relay_, &InputRelay::KeyUp, this, &VelmoraControl::KeyUp);
    connect(relay_, &InputRelay::KeyPress, this, &VelmoraControl::KeyPress);
}

void VelmoraControl::LoadPlayerMovie() {
    if (!fullScreenWindow_)
        fullScreenWindow_ = std::make_unique<ControlFullScreenWindow>();
    if (!fullScreen_)
        fullScreenWindow_->hide();
    fullScreenWindow_->SetMaximized();
    surfaceWindow_ = inputArea_;
    // The old engine is handed to its ending before the new one starts its own.
    engine_.reset();
    engine_.reset(engineFactory_(nullptr));
    if (!engine_)
        return;
    connect(engine_.get(), &MovieEngine::FSCommand, this, &VelmoraControl::OnFSCommand);
    if (QWidget* surface = engine_->Surface()) {
        surface->setParent(videoArea_);
        surface->setAttribute(Qt::WA_TransparentForMouseEvents);
        surface->show();
    }
    logo_->SetAboveWindows(engine_->SurfaceIsWindow());
    logo_->raise();
    layoutChildren();
}

QString VelmoraControl::BuildRequest(const QString& name, const QVariantList& arguments) {
    QString request = QStringLiteral("<invoke name=\"") + name +
                      QStringLiteral("\" returntype=\"xml\"><arguments>");
    for (const QVariant& a : arguments) {
        if (a.typeId() == QMetaType::Bool)
            request += a.toBool() ? QStringLiteral("<true/>") : QStringLiteral("<false/>");
        else
            request += QStringLiteral("<string>") + ArgumentText(a) + QStringLiteral("</string>");
    }
    return request + QStringLiteral("</arguments></invoke>");
}

QString VelmoraControl::CallMovieFunction(const QString& name, const QVariantList& arguments) {
    qCDebug(lcBridge).noquote() << BuildRequest(name, arguments);
    if (!engine_)
        return {};
    QStringList texts;
    texts.reserve(arguments.size());
    for (const QVariant& a : arguments)
        texts << ArgumentText(a);
    return engine_->Call(name, texts);
}

void VelmoraControl::PlayMovie(const QString& FilePath) {
    // The movie's first report arrives during the call here, and the host reads Movie in it.
    movie_ = FilePath;
    CallMovieFunction("playMovie", {FilePath});
    progressPoll_.start();
    if (mute_)
        SetMute(true);
}

void VelmoraControl::PauseMovie() {
    CallMovieFunction("pauseMovie", {});
}

void VelmoraControl::StopMovie() {
    CallMovieFunction("StopMovie", {});
    movie_.clear();
}

void VelmoraControl::GotoTime(qint32 Value) {
    CallMovieFunction("seek", {Value});
}

qint32 VelmoraControl::TotalTime() const {
    return RoundToInt32(totalTime_);
}

qint32 VelmoraControl::Volume() const {
    return RoundToInt32(volume_);
}

QString VelmoraControl::ColorText(quint32 oleColor) {
    const auto hex = [](quint32 byte) {
        return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    };
    return hex(oleColor) + hex(oleColor >> 8) + hex(oleColor >> 16);
}

void VelmoraControl::ApplyBackColor() {
    if (engine_)
        engine_->SetBGColor(ColorText(backColor_));
    QPalette p = palette();
    p.setColor(QPalette::Window,
               QColor(backColor_ & 0xFF, (backColor_ >> 8) & 0xFF, (backColor_ >> 16) & 0xFF));
    setPalette(p);
}

void VelmoraControl::SetBackColor(quint32 color) {
    backColor_ = color;
    ApplyBackColor();
    emit propertyChanged("BackColor");
}

void VelmoraControl::SendVolume(qint32 level) {
    CallMovieFunction("setVolume", {level});
}

void VelmoraControl::ApplyMute() {
    SendVolume(mute_ ? 0 : Volume());
}

void VelmoraControl::SetVolume(qint32 level) {
    volume_ = std::clamp(level, 0, 100);
    if (!mute_)
        SendVolume(Volume());
    emit propertyChanged("Volume");
}

void VelmoraControl::SetMute(bool muted) {
    mute_ = muted;
    ApplyMute();
    emit propertyChanged("Mute");
}

void VelmoraControl::SetBufferTime(float seconds) {
    bufferTime_ = seconds;
    CallMovieFunction("SetBufferTime", {bufferTime_});
    emit propertyChanged("BufferTime");
}

void VelmoraControl::OnFSCommand(const QString& command, const QString& args) {
    if (command == QLatin1String("State")) {
        state_ = args;
        emit OnReadyStateChange(args);
    }
    // Each poll brings five figures, the same texts again while nothing moves: a text read at
    // the last report of its figure is not read again.
    const auto number = [&args](ReadFigure& last) {
        if (last.text.isNull() || args != last.text) {
            last.text = args;
            last.value = ReportNumber(args);
        }
        return last.value;
    };
    if (command == QLatin1String("totaltime"))
        totalTime_ = float(number(readFigures_[0]));
    else if (command == QLatin1String("bufferlength"))
        bufferLength_ = float(number(readFigures_[1]));
    else if (command == QLatin1String("time"))
        currentTime_ = float(number(readFigures_[2]));
    else if (command == QLatin1String("bytestotal"))
        totalBytes_ = RoundToInt32(number(readFigures_[3]));
    else if (command == QLatin1String("bytesloaded"))
        loadedBytes_ = RoundToInt32(number(readFigures_[4]));
    else if (command == QLatin1String("buffertime"))
        bufferTime_ = float(number(readFigures_[5]));
    const bool loadedChanged = loadedBytes_ != lastLoadedBytes_;
    const bool timeChanged = currentTime_ != lastCurrentTime_;
    // Remembered before the events go out: a host that calls back into the movie from its
    // handler gets the movie's reports at once, and must not see the same change again.
    lastLoadedBytes_ = loadedBytes_;
    lastCurrentTime_ = currentTime_;
    if (loadedChanged)
        emit ButterProgress(totalBytes_, loadedBytes_);
    if (timeChanged)
        emit PlayProgress(totalTime_, currentTime_, bufferLength_);
}

void VelmoraControl::WriteProperties(PropertyBag& bag) const {
    bag.Write("CurrentTime", currentTime_);
    bag.Write("Movie", movie_);
    bag.Write("BackColor", backColor_);
    bag.Write("Volume", volume_);
    bag.Write("Mute", mute_);
    bag.Write("LoadedBytes", loadedBytes_);
    bag.Write("TotalBytes", totalBytes_);
    bag.Write("BufferTime", bufferTime_);
    bag.Write("newState", state_);
    bag.Write("FullScreen", fullScreen_);
}

void VelmoraControl::ReadProperties(const PropertyBag& bag) {
    LoadPlayerMovie();
    currentTime_ = bag.Read("CurrentTime", 0).toFloat();
    movie_ = bag.Read("Movie", QString()).toString();
    backColor_ = bag.Read("BackColor", 0u).toUInt();
    volume_ = bag.Read("Volume", 80).toDouble();
    mute_ = bag.Read("Mute", false).toBool();
    loadedBytes_ = bag.Read("LoadedBytes", 0).toInt();
    totalBytes_ = bag.Read("TotalBytes", 0).toInt();
    bufferTime_ = bag.Read("BufferTime", 0.1f).toFloat();
    state_ = bag.Read("State", QString(state::Stop)).toString();
    fullScreen_ = bag.Read("FullScreen", false).toBool();
    ApplyBackColor();
    ApplyMute();
    CallMovieFunction("SetBufferTime", {bufferTime_});
    SendVolume(Volume());
}

void VelmoraControl::layoutChildren() {
    const QRect area(QPoint(0, 0), size());
    inputArea_->setGeometry(area);
    videoArea_->setGeometry(area);
    if (engine_ && engine_->Surface())
        engine_->Surface()->setGeometry(area);
    placeLogo();
}

void VelmoraControl::placeLogo() {
    const double tpp = TwipsPerPixel(this);
    logo_->SetSize(Logo::SizeForHeight(height() * tpp));
    const double width = inputArea_->width() * tpp;
    const double left = width - logo_->width() * tpp - 0.03 * width;
    const double top = 0.026 * inputArea_->height() * tpp;
    logo_->move(int(std::lround(left / tpp)), int(std::lround(top / tpp)));
}

bool VelmoraControl::PointerOutsideLogo() const {
    return relay_->PointerOutsideLogo();
}

bool VelmoraControl::event(QEvent* event) {
    // Only where Picture1 does not cover the control: otherwise its input is Picture1's.
    // Child events arrive while the members are still being built; input never does.
    if (InputRelay::IsInput(event->type()) && inputArea_->parentWidget() != this &&
        relay_->relay(event, InputRelay::Source::Control))
        return true;
    return QWidget::event(event);
}

void VelmoraControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
    emit ReSize();
}

} // namespace flv
