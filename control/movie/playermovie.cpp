#include "playermovie.h"

#include "flv/velmora.h"
#include "mpvhandle.h"
#include "mpvproperties.h"

#include <QColor>
#include <QLocale>
#include <QUrl>
#include <cmath>

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

bool IsRemote(const QString& file) {
    const QString scheme = QUrl(file).scheme().toLower();
    return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "rtmp";
}

} // namespace

PlayerMovie::PlayerMovie(SurfaceKind kind, QObject* parent)
    : MovieEngine(parent),
      mpv_(new MpvHandle(kind == SurfaceKind::Null ? "null" : "libmpv", this)) {
    if (kind == SurfaceKind::OpenGL) {
        auto* s = new GlSurface(mpv_);
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
    connect(mpv_, &MpvHandle::event, this, &PlayerMovie::onEvent);
    if (!mpv_->ok())
        return;
    const std::pair<const char*, mpv_format> observed[] = {
        {mpvprop::PausedForCache, MPV_FORMAT_FLAG}, {mpvprop::Duration, MPV_FORMAT_DOUBLE},
        {mpvprop::TimePos, MPV_FORMAT_DOUBLE},      {mpvprop::CacheDuration, MPV_FORMAT_DOUBLE},
        {mpvprop::FileSize, MPV_FORMAT_INT64},      {mpvprop::CacheState, MPV_FORMAT_NODE},
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
    else if (name == "getinfo")
        getinfo();
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
    if (ParseNumber(width, &w) && ParseNumber(height, &h))
        dims_[0] = int(w), dims_[1] = int(h);
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
    loaded_ = false;
    awaitingStart_ = false;
    loadedBytes_ = 0;
    pendingSeek_ = -1;
    finished_.reset();
    showPicture(false);
    mpv_->setFlag(mpvprop::Pause, false);
    if (file.isEmpty()) {
        // The empty name stops the stream, as the movie's own stop does; nothing is missing.
        currentEntry_ = -1;
        mpv_->command({"stop"});
        playstate_ = PlayState::Playing;
        reportState(state::Play);
        return;
    }
    const QByteArray path = file.toUtf8();
    if (mpv_->command({"loadfile", path.constData(), "replace"}) >= 0) {
        int64_t id = -1;
        // The entry just appended is the playlist's only one after "replace".
        mpv_->getInt64("playlist/0/id", &id);
        currentEntry_ = id;
    } else {
        currentEntry_ = -1;
    }
    playstate_ = PlayState::Playing;
    reportState(state::Play);
    if (currentEntry_ < 0) {
        playstate_ = PlayState::Idle;
        reportState(state::FlvNotFound);
    }
}

void PlayerMovie::pauseMovie() {
    if (playstate_ == PlayState::Playing) {
        mpv_->setFlag(mpvprop::Pause, true);
        playstate_ = PlayState::Paused;
        reportState(state::Pause);
    } else if (playstate_ == PlayState::Paused) {
        mpv_->setFlag(mpvprop::Pause, false);
        playstate_ = PlayState::Playing;
        reportState(state::Play);
    }
}

void PlayerMovie::stopMovie() {
    currentEntry_ = -1;
    pendingSeek_ = -1;
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
        if (currentEntry_ >= 0)
            pendingSeek_ = std::max(0.0, s);
        return;
    }
    const QByteArray target = NumberText(std::max(0.0, s)).toLatin1();
    mpv_->command({"seek", target.constData(), "absolute+exact"});
}

void PlayerMovie::setBufferTime(const QString& seconds) {
    double s = 0;
    if (!ParseNumber(seconds, &s) || s < 0)
        return;
    mpv_->setFlag(mpvprop::CachePauseInitial, true);
    mpv_->setDouble(mpvprop::CachePauseWait, s);
    double inEffect = s;
    mpv_->getDouble(mpvprop::CachePauseWait, &inEffect);
    report("buffertime", NumberText(inEffect));
}

double PlayerMovie::estimateLoadedBytes(double total) const {
    if (!IsRemote(file_))
        return total;
    // No property counts downloaded bytes: the cached share of the duration stands in for it.
    double estimate = loadedBytes_;
    if (reported_.eofCached)
        estimate = total;
    else if (reported_.duration && *reported_.duration > 0)
        estimate = std::min(total, total * reported_.cacheEnd / *reported_.duration);
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
    if (!loaded_)
        return f;
    f.duration = reported_.duration;
    f.time = reported_.timePos.value_or(0);
    f.bufferLength = reported_.cacheDuration.value_or(0);
    return f;
}

void PlayerMovie::getinfo() {
    const Figures f = finished_ ? *finished_ : liveFigures();
    report("bytestotal", NumberText(f.bytesTotal));
    report("bytesloaded", NumberText(f.bytesLoaded));
    report("totaltime", f.duration ? NumberText(*f.duration) : QStringLiteral("undefined"));
    report("time", NumberText(f.time));
    report("bufferlength", NumberText(f.bufferLength));
}

void PlayerMovie::onEvent(const mpv_event* e) {
    switch (e->event_id) {
    case MPV_EVENT_FILE_LOADED:
        fileLoaded();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
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
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(static_cast<const mpv_event_property*>(e->data));
        break;
    default:
        break;
    }
}

void PlayerMovie::fileLoaded() {
    loaded_ = currentEntry_ >= 0;
    awaitingStart_ = loaded_;
    if (loaded_ && pendingSeek_ >= 0) {
        const QByteArray target = NumberText(pendingSeek_).toLatin1();
        mpv_->command({"seek", target.constData(), "absolute+exact"});
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
        if (!strcmp(key, "eof-cached") && v.format == MPV_FORMAT_FLAG)
            reported_.eofCached = v.u.flag;
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
    currentEntry_ = -1;
    loaded_ = false;
    playstate_ = PlayState::Idle;
}

} // namespace flv
