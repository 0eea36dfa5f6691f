#include "mpvhandle.h"

#include <QLoggingCategory>
#include <clocale>

Q_LOGGING_CATEGORY(lcMpv, "ovelo.mpv", QtWarningMsg)

namespace flv {

MpvHandle::MpvHandle(const char* videoOutput, QObject* parent) : QObject(parent) {
    // libmpv refuses to start unless numbers are formatted the C way; QApplication resets it.
    std::setlocale(LC_NUMERIC, "C");
    handle_ = mpv_create();
    if (!handle_) {
        qCWarning(lcMpv) << "mpv_create failed";
        return;
    }
    // ao: SDL only wraps the outputs listed before it, and stalls ~300 ms without a sound server.
    // load-*, osc: built-in Lua scripts are unreachable without key bindings; each costs a thread.
    // One name is one medium: no playlists, directories, edit lists or cue sheets expanded, no
    // references followed, only the Flash Video and MP4 (F4V) demuxers, and over the network
    // nothing but HTTP(S), also where a redirect points elsewhere.
    // video-timing-offset: frames are handed over at their display time, so rendering them on the
    // UI thread never has to wait.
    const std::pair<const char*, const char*> options[] = {
        {"vo", videoOutput},
        {"ao", "pipewire,pulse,alsa,jack"},
        {"audio-fallback-to-null", "yes"},
        {"ytdl", "no"},
        {"load-scripts", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"keep-open", "no"},
        {"hwdec", "no"},
        {"gpu-hwdec-interop", "no"},
        {"idle", "yes"},
        {"input-default-bindings", "no"},
        {"terminal", "no"},
        {"volume", "80"},
        {"hr-seek", "yes"},
        {"video-timing-offset", "0"},
        {"access-references", "no"},
        {"demuxer", "lavf"},
        {"demuxer-lavf-o",
         "format_whitelist=[flv,live_flv,mov],protocol_whitelist=[file,http,https,tcp,tls]"},
        {"stream-lavf-o", "protocol_whitelist=[http,https,tcp,tls]"},
    };
    for (const auto& [name, value] : options)
        if (mpv_set_option_string(handle_, name, value) < 0)
            qCWarning(lcMpv) << "option refused" << name << value;
    if (mpv_initialize(handle_) < 0) {
        qCWarning(lcMpv) << "mpv_initialize failed";
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
        return;
    }
    mpv_set_wakeup_callback(handle_, &MpvHandle::wakeup, this);
}

MpvHandle::~MpvHandle() {
    if (handle_) {
        mpv_set_wakeup_callback(handle_, nullptr, nullptr);
        mpv_terminate_destroy(handle_);
    }
}

void MpvHandle::wakeup(void* self) {
    // Runs on an mpv thread: only hand the work to the UI thread.
    QMetaObject::invokeMethod(static_cast<MpvHandle*>(self), &MpvHandle::drain,
                              Qt::QueuedConnection);
}

void MpvHandle::drain() {
    while (handle_) {
        mpv_event* e = mpv_wait_event(handle_, 0);
        if (e->event_id == MPV_EVENT_NONE)
            break;
        emit event(e);
    }
}

int MpvHandle::command(std::initializer_list<const char*> args) {
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    return mpv_command(handle_, argv.data());
}

int MpvHandle::setFlag(const char* name, bool on) {
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    int v = on ? 1 : 0;
    return mpv_set_property(handle_, name, MPV_FORMAT_FLAG, &v);
}

int MpvHandle::setDouble(const char* name, double value) {
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    return mpv_set_property(handle_, name, MPV_FORMAT_DOUBLE, &value);
}

int MpvHandle::setString(const char* name, const QString& value) {
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    return mpv_set_property_string(handle_, name, value.toUtf8().constData());
}

bool MpvHandle::getDouble(const char* name, double* out) const {
    return handle_ && mpv_get_property(handle_, name, MPV_FORMAT_DOUBLE, out) >= 0;
}

bool MpvHandle::getInt64(const char* name, int64_t* out) const {
    return handle_ && mpv_get_property(handle_, name, MPV_FORMAT_INT64, out) >= 0;
}

bool MpvHandle::getFlag(const char* name, bool* out) const {
    int v = 0;
    if (!handle_ || mpv_get_property(handle_, name, MPV_FORMAT_FLAG, &v) < 0)
        return false;
    *out = v != 0;
    return true;
}

} // namespace flv
