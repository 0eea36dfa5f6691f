#include "playermovie.h"

#include "flv/velmora.h"
#include "medianame.h"
#include "mpvhandle.h"
#include "mpvproperties.h"
#include "windowsurface.h"

#include <QColor>
#include <QLocale>
#include <QUrl>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace flv {

namespace {

QString NumberText(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

bool ParseNumber(const QString& text, double* out) {
    bool ok = false;
    double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

// Seconds without progress before the watch acts; generous against a busy machine.
constexpr int kQuietAddressTicks = 2;
constexpr int kStalledFileTicks = 4;
constexpr double kLongestStillSeconds = 5;
constexpr double kLeastProgressPerTick = 0.25;

// A reply's tag: which call it answers, and for which playMovie or StopMovie.
enum class Reply : uint64_t { Load = 1, StartSeek = 2 };
uint64_t ReplyTag(quint64 generation, Reply reply) {
    return generation << 8 | uint64_t(reply);
}

} // namespace

PlayerMovie::PlayerMovie(SurfaceKind kind, QObject* parent, const EngineOptions& extraOptions)
    : MovieEngine(parent), kind_(kind) {
    EngineOptions options =
        kind == SurfaceKind::X11Window ? WindowSurface::Options() : DecodingOptions(kind);
    options.insert(options.end(), extraOptions.begin(), extraOptions.end());
    const char* output = kind == SurfaceKind::Null        ? "null"
                         : kind == SurfaceKind::X11Window ? "x11"
                                                          : "libmpv";
    mpv_ = new MpvHandle(output, options, this);
    if (kind == SurfaceKind::OpenGL) {
        auto* s = new GlSurface(mpv_);
        surface_ = s;
        picture_ = s;
    } else if (kind == SurfaceKind::X11Window) {
        auto* s = new WindowSurface(mpv_);
        surface_ = s;
        picture_ = s;
    } else if (kind == SurfaceKind::Software) {
        auto* s = new SoftwareSurface(mpv_);
        surface_ = s;
        picture_ = s;
    } else {
        auto* s = new BlankSurface;
        surface_ = s;
        picture_ = s;
    }
    surface_->setObjectName("ShockwaveFlash1");
    watch_.setInterval(1000);
    connect(&watch_, &QTimer::timeout, this, &PlayerMovie::watchTick);
    connect(mpv_, &MpvHandle::eventArrived, this, &PlayerMovie::onEvent);
    if (!mpv_->ok())
        return;
    const std::pair<const char*, mpv_format> observed[] = {
        {mpvprop::PausedForCache, MPV_FORMAT_FLAG}, {mpvprop::Duration, MPV_FORMAT_DOUBLE},
        {mpvprop::TimePos, MPV_FORMAT_DOUBLE},      {mpvprop::CacheDuration, MPV_FORMAT_DOUBLE},
        {mpvprop::FileSize, MPV_FORMAT_INT64},      {mpvprop::CacheState, MPV_FORMAT_NODE},
        {mpvprop::StreamPos, MPV_FORMAT_INT64},
    };
    for (const auto& [name, format] : observed)
        mpv_observe_property(mpv_->get(), 1, name, format);
}

PlayerMovie::~PlayerMovie() {
    // The surface first; the reason is written at VelmoraControl's members.
    delete surface_.data();
    delete mpv_;
}

QWidget* PlayerMovie::Surface() {
    return surface_;
}

QString PlayerMovie::Call(const QString& name, const QStringList& args) {
    // The control's poll, twenty times a second for as long as it lives, comes first.
    if (name == QLatin1String("getinfo")) {
        getinfo();
        return QStringLiteral("<undefined/>");
    }
    const QString a0 = args.value(0), a1 = args.value(1);
    if (name == "playMovie")
        playMovie(a0);
    else if (name == "pauseMovie")
        pauseMovie();
    else if (name == "StopMovie")
        stopMovie();
    else if (name == "setVolume")
        setVolume(a0);
    else if (name == "seek")
        seek(a0);
    else if (name == "SetBufferTime")
        setBufferTime(a0);
    else if (name == "setDims")
        setDims(a0, a1);
    else
        return {};
    return QStringLiteral("<undefined/>");
}

void PlayerMovie::setDims(const QString& width, const QString& height) {
    double w = 0, h = 0;
    // Any number the host sends must fit: converting one out of range is undefined.
    const auto size = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
    if (ParseNumber(width, &w) && ParseNumber(height, &h))
        dims_[0] = size(w), dims_[1] = size(h);
}

void PlayerMovie::SetBGColor(const QString& rrggbb) {
    const QColor color(QLatin1Char('#') + rrggbb);
    if (!color.isValid())
        return;
    if (picture_)
        picture_->setBackground(color);
    mpv_->setString(mpvprop::Background, color.name());
}

void PlayerMovie::showPicture(bool visible) {
    if (picture_)
        picture_->setPictureVisible(visible);
}

void PlayerMovie::playMovie(const QString& file) {
    file_ = file;
    ++generation_;
    watch_.stop();
    currentEntry_ = -1;
    loaded_ = false;
    awaitingStart_ = false;
    loadedBytes_ = 0;
    pendingSeek_ = -1;
    startSeek_.reset();
    finished_.reset();
    heldLoad_.clear();
    showPicture(false);
    mpv_->setFlag(mpvprop::Pause, false);
    if (file.isEmpty()) {
        // The empty name stops the stream, as the movie's own stop does; nothing is missing.
        entryAsked_ = false;
        mpv_->command({"stop"});
        playstate_ = PlayState::Playing;
        reportState(state::Play);
        return;
    }
    const std::optional<MediaName> name = ResolveMediaName(file);
    if (!name) {
        rejectName();
        return;
    }
    remote_ = name->remote;
    entryAsked_ = load(name->target);
    playstate_ = PlayState::Playing;
    reportState(state::Play);
    if (!entryAsked_) {
        playstate_ = PlayState::Idle;
        reportState(state::FlvNotFound);
        return;
    }
    quietTicks_ = 0;
    watchedPos_ = -1;
    watch_.start();
}

bool PlayerMovie::load(const QByteArray& target) {
    heldLoad_.clear();
    // The host loads its file before it shows its window. On OpenGL mpv's video output needs
    // the render context that showing creates, and without it plays the file with no picture.
    if (picture_ && !picture_->canShowVideo()) {
        heldLoad_ = target;
        picture_->whenReady([this, generation = generation_] {
            if (generation == generation_)
                loadHeld();
        });
        return true;
    }
    // The entry's id comes with the reply, before any event of the entry itself.
    return mpv_->command({"loadfile", target.constData(), "replace"},
                         ReplyTag(generation_, Reply::Load)) >= 0;
}

void PlayerMovie::loadHeld() {
    if (heldLoad_.isEmpty() || !entryAsked_)
        return;
    if (!load(std::exchange(heldLoad_, {}))) {
        forgetEntry();
        reportState(state::FlvNotFound);
    }
}

// A name the engine will not open is not found, as a missing file is: the old file stops and
// the answer comes after the call, as mpv's own would.
void PlayerMovie::rejectName() {
    entryAsked_ = false;
    mpv_->command({"stop"});
    playstate_ = PlayState::Playing;
    reportState(state::Play);
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_] {
            if (generation != generation_)
                return;
            forgetEntry();
            reportState(state::FlvNotFound);
        },
        Qt::QueuedConnection);
}

void PlayerMovie::pauseMovie() {
    if (playstate_ == PlayState::Playing) {
        mpv_->setFlag(mpvprop::Pause, true);
        playstate_ = PlayState::Paused;
        // A pause is no stall: the watch sleeps with the player and counts afresh after it.
        watch_.stop();
        quietTicks_ = 0;
        reportState(state::Pause);
    } else if (playstate_ == PlayState::Paused) {
        mpv_->setFlag(mpvprop::Pause, false);
        playstate_ = PlayState::Playing;
        if (entryAsked_)
            watch_.start();
        reportState(state::Play);
    }
}

void PlayerMovie::stopMovie() {
    ++generation_;
    watch_.stop();
    heldLoad_.clear();
    entryAsked_ = false;
    currentEntry_ = -1;
    pendingSeek_ = -1;
    startSeek_.reset();
    loaded_ = false;
    awaitingStart_ = false;
    finished_.reset();
    mpv_->command({"stop"});
    playstate_ = PlayState::Idle;
    reportState(state::Stop);
}

void PlayerMovie::setVolume(const QString& level) {
    double v = 0;
    if (ParseNumber(level, &v))
        mpv_->setDouble(mpvprop::Volume, std::clamp(v, 0.0, 100.0));
}

void PlayerMovie::seek(const QString& seconds) {
    double s = 0;
    if (!ParseNumber(seconds, &s))
        return;
    if (!loaded_) {
        // The host seeks right after playMovie (resume, full-screen hand-over): keep it for
        // the moment the file is open.
        if (entryAsked_)
            pendingSeek_ = std::max(0.0, s);
        return;
    }
    // mpv's own position tells of this seek from now on.
    startSeek_.reset();
    const QByteArray target = NumberText(std::max(0.0, s)).toLatin1();
    mpv_->command({"seek", target.constData(), "absolute+exact"});
}

void PlayerMovie::setBufferTime(const QString& seconds) {
    double s = 0;
    if (!ParseNumber(seconds, &s) || s < 0)
        return;
    mpv_->setFlag(mpvprop::CachePauseInitial, true);
    mpv_->setDouble(mpvprop::CachePauseWait, s);
    // mpv keeps the wait in single precision: what it will use is known without asking it.
    const double inEffect = s > std::numeric_limits<float>::max()
                                ? std::numeric_limits<double>::infinity()
                                : double(float(s));
    report(QStringLiteral("buffertime"), NumberText(inEffect));
}

double PlayerMovie::estimateLoadedBytes(double total) const {
    if (!remote_)
        return total;
    // No property counts downloaded bytes. A progressive download is read in order, so the
    // stream's read position is a floor of what has arrived; a share of the duration is not
    // (a trickle behind a keyframe index would claim most of the file).
    double estimate = loadedBytes_;
    if (reported_.eofCached)
        estimate = total;
    else if (reported_.streamPos)
        estimate = std::min(total, double(*reported_.streamPos));
    return std::max(loadedBytes_, estimate);
}

PlayerMovie::Figures PlayerMovie::liveFigures() {
    Figures f;
    if (loaded_ && reported_.fileSize && *reported_.fileSize > 0) {
        f.bytesTotal = double(*reported_.fileSize);
        loadedBytes_ = estimateLoadedBytes(f.bytesTotal);
    }
    // The loaded count outlives a stopped file, as the stream's own count does.
    f.bytesLoaded = loadedBytes_;
    // A place asked for with the file (resume, the full-screen hand-over) is where the file
    // is, for whoever asks, until mpv has got there: read back in that time, the start of the
    // file would send the host's next hand-over to the beginning.
    if (!loaded_) {
        if (pendingSeek_ >= 0)
            f.time = pendingSeek_;
        return f;
    }
    f.duration = reported_.duration;
    f.time = startSeek_ ? startSeek_->target : reported_.timePos.value_or(0);
    f.bufferLength = reported_.cacheDuration.value_or(0);
    return f;
}

void PlayerMovie::getinfo() {
    const Figures f = finished_ ? *finished_ : liveFigures();
    report(QStringLiteral("bytestotal"), pollTexts_[0].of(f.bytesTotal));
    report(QStringLiteral("bytesloaded"), pollTexts_[1].of(f.bytesLoaded));
    report(QStringLiteral("totaltime"),
           f.duration ? pollTexts_[2].of(*f.duration) : QStringLiteral("undefined"));
    report(QStringLiteral("time"), pollTexts_[3].of(f.time));
    report(QStringLiteral("bufferlength"), pollTexts_[4].of(f.bufferLength));
}

const QString& PlayerMovie::FigureText::of(double v) {
    // Compared bit for bit: -0 and 0 have texts of their own, and NaN never matches itself.
    if (text.isNull() || std::memcmp(&v, &value, sizeof v) != 0) {
        value = v;
        text = NumberText(v);
    }
    return text;
}

void PlayerMovie::onEvent(const mpv_event* e) {
    switch (e->event_id) {
    case MPV_EVENT_FILE_LOADED:
        fileLoaded();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        // Only a restart after mpv took the seek is the one at its target.
        if (startSeek_ && startSeek_->answered)
            startSeek_.reset();
        if (awaitingStart_) {
            awaitingStart_ = false;
            showPicture(true);
            reportState(state::Play);
        }
        break;
    case MPV_EVENT_END_FILE:
        endOfEntry(static_cast<const mpv_event_end_file*>(e->data));
        break;
    case MPV_EVENT_START_FILE:
        // Nothing mpv said about the previous file counts for this one.
        reported_ = {};
        startedEntry_ = static_cast<const mpv_event_start_file*>(e->data)->playlist_entry_id;
        break;
    case MPV_EVENT_COMMAND_REPLY:
        onCommandReply(e);
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(static_cast<const mpv_event_property*>(e->data));
        break;
    default:
        break;
    }
}

void PlayerMovie::onCommandReply(const mpv_event* e) {
    if (startSeek_ && e->reply_userdata == ReplyTag(generation_, Reply::StartSeek)) {
        // Refused (the file ended meanwhile): the position is mpv's again.
        if (e->error < 0)
            startSeek_.reset();
        else
            startSeek_->answered = true;
        return;
    }
    if (e->reply_userdata != ReplyTag(generation_, Reply::Load))
        return; // a reply to an older call, or to one that needs none
    if (e->error < 0) {
        forgetEntry();
        reportState(state::FlvNotFound);
        return;
    }
    const auto* result = &static_cast<const mpv_event_command*>(e->data)->result;
    if (result->format != MPV_FORMAT_NODE_MAP)
        return;
    for (int i = 0; i < result->u.list->num; ++i)
        if (!strcmp(result->u.list->keys[i], "playlist_entry_id") &&
            result->u.list->values[i].format == MPV_FORMAT_INT64)
            currentEntry_ = result->u.list->values[i].u.int64;
}

void PlayerMovie::fileLoaded() {
    loaded_ = currentEntry_ >= 0 && startedEntry_ == currentEntry_;
    awaitingStart_ = loaded_;
    if (loaded_ && pendingSeek_ >= 0) {
        const QByteArray target = NumberText(pendingSeek_).toLatin1();
        startSeek_ = StartSeek{pendingSeek_};
        mpv_->command({"seek", target.constData(), "absolute+exact"},
                      ReplyTag(generation_, Reply::StartSeek));
    }
    pendingSeek_ = -1;
}

void PlayerMovie::onPropertyChange(const mpv_event_property* p) {
    const auto number = [p]() -> std::optional<double> {
        if (p->format == MPV_FORMAT_DOUBLE)
            return *static_cast<const double*>(p->data);
        return std::nullopt;
    };
    if (!strcmp(p->name, mpvprop::PausedForCache)) {
        const bool on = p->format == MPV_FORMAT_FLAG && *static_cast<const int*>(p->data) != 0;
        if (on && !pausedForCache_)
            reportState(state::Empty);
        pausedForCache_ = on;
    } else if (!strcmp(p->name, mpvprop::Duration)) {
        if (const auto v = number())
            reported_.duration = v;
    } else if (!strcmp(p->name, mpvprop::TimePos)) {
        if (const auto v = number())
            reported_.timePos = v;
    } else if (!strcmp(p->name, mpvprop::CacheDuration)) {
        reported_.cacheDuration = number();
    } else if (!strcmp(p->name, mpvprop::FileSize)) {
        if (p->format == MPV_FORMAT_INT64)
            reported_.fileSize = *static_cast<const int64_t*>(p->data);
    } else if (!strcmp(p->name, mpvprop::StreamPos)) {
        if (p->format == MPV_FORMAT_INT64)
            reported_.streamPos = *static_cast<const int64_t*>(p->data);
    } else if (!strcmp(p->name, mpvprop::CacheState)) {
        onCacheState(p);
    }
}

void PlayerMovie::onCacheState(const mpv_event_property* p) {
    reported_.cacheEnd = 0;
    reported_.eofCached = false;
    const auto* node = static_cast<const mpv_node*>(p->data);
    if (p->format != MPV_FORMAT_NODE || node->format != MPV_FORMAT_NODE_MAP)
        return;
    for (int i = 0; i < node->u.list->num; ++i) {
        const char* key = node->u.list->keys[i];
        const mpv_node& v = node->u.list->values[i];
        if (!strcmp(key, "cache-end") && v.format == MPV_FORMAT_DOUBLE)
            reported_.cacheEnd = v.u.double_;
        // "eof": the reader has reached the end; "eof-cached": the end is in the cache.
        if ((!strcmp(key, "eof") || !strcmp(key, "eof-cached")) && v.format == MPV_FORMAT_FLAG)
            reported_.eofCached = reported_.eofCached || v.u.flag;
    }
}

void PlayerMovie::endOfEntry(const mpv_event_end_file* end) {
    // An entry replaced by a newer loadfile, or one we stopped, ends with STOP: already handled.
    if (end->playlist_entry_id != currentEntry_ || currentEntry_ < 0)
        return;
    if (end->reason == MPV_END_FILE_REASON_EOF) {
        finished_ = liveFigures();
        finished_->bufferLength = 0; // nothing is left ahead of the end
        forgetEntry();
        reportState(state::Stop);
    } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
        forgetEntry();
        reportState(state::FlvNotFound);
    }
}

void PlayerMovie::forgetEntry() {
    watch_.stop();
    heldLoad_.clear();
    entryAsked_ = false;
    currentEntry_ = -1;
    loaded_ = false;
    playstate_ = PlayState::Idle;
}

} // namespace flv

namespace flv {

void PlayerMovie::watchTick() {
    if (!entryAsked_ || playstate_ != PlayState::Playing) {
        quietTicks_ = 0;
        return;
    }
    if (!loaded_) {
        ++quietTicks_;
        // An address that answers nothing yet: the player waits with an empty buffer.
        if (remote_ && quietTicks_ == kQuietAddressTicks)
            reportState(state::Empty);
        // A local file opens at once unless its probe reads on through data that is no video.
        if (!remote_ && quietTicks_ >= kStalledFileTicks)
            endStalledFile(state::FlvNotFound);
        return;
    }
    if (remote_)
        return; // the cache reports its own waits ("Empty")
    const double pos = reported_.timePos.value_or(-1);
    // Played in real time, a second moves the position by a second; a damaged clock (an audio
    // header that claims a tiny sample rate) crawls, and reaches its end only after minutes.
    // A seek moves it either way.
    const double moved = pos - watchedPos_;
    watchedPos_ = pos;
    if (moved >= kLeastProgressPerTick || moved < 0) {
        quietTicks_ = 0;
        return;
    }
    // A still picture holds the position for as long as the packets queued behind it last;
    // a picture held longer than that, or stamped far ahead, is a damaged timestamp.
    const double ahead = reported_.cacheEnd - pos;
    const bool still = !awaitingStart_ && moved == 0 && ahead > 0 && ahead < kLongestStillSeconds;
    if (++quietTicks_ >= kStalledFileTicks + (still ? std::ceil(ahead) : 0))
        endStalledFile(state::Stop);
}

// Ends as the file's end does, or as a file that cannot be opened: the last figures stay.
void PlayerMovie::endStalledFile(QLatin1StringView ending) {
    if (loaded_) {
        finished_ = liveFigures();
        finished_->bufferLength = 0;
    }
    forgetEntry();
    mpv_->command({"stop"});
    reportState(ending);
}

} // namespace flv
