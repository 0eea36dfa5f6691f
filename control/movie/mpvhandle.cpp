#include "mpvhandle.h"

#include "engineend.h"
#include "softwarerenderer.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QPointer>
#include <clocale>

Q_LOGGING_CATEGORY(lcMpv, "ovelo.mpv", QtWarningMsg)

namespace flv {

namespace {

// OVELO_MPV_LOG=folder keeps every engine's own log there, one file each, for a report of what
// mpv did when a picture or a sound went wrong.
QByteArray LogFileName() {
    const QString folder = qEnvironmentVariable("OVELO_MPV_LOG");
    if (folder.isEmpty())
        return {};
    static QAtomicInt engines;
    const QString name = QStringLiteral("mpv-%1-%2.log")
                             .arg(QCoreApplication::applicationPid())
                             .arg(engines.fetchAndAddRelaxed(1));
    return QDir(folder).filePath(name).toLocal8Bit();
}

} // namespace

MpvHandle::MpvHandle(const char* videoOutput, const EngineOptions& extraOptions, QObject* parent)
    : QObject(parent) {
    // libmpv refuses to start unless numbers are formatted the C way; QApplication resets it.
    std::setlocale(LC_NUMERIC, "C");
    handle_ = mpv_create();
    if (!handle_) {
        qCWarning(lcMpv) << "mpv_create failed";
        return;
    }
    // ao: SDL only wraps the outputs listed before it, and stalls ~300 ms without a sound server.
    // JACK is left out: without a sound server it was the last output tried, and two engines of
    // one process opening libjack at once deadlock inside it, their cores stuck for good.
    // load-*, osc: built-in Lua scripts are unreachable without key bindings; each costs a thread.
    // One name is one medium: no playlists, directories, edit lists or cue sheets expanded, no
    // references followed, only the Flash Video and MP4 (F4V) demuxers, and over the network
    // nothing but HTTP(S), also where a redirect points elsewhere.
    // video-timing-offset: frames are handed over at their display time, so rendering them on the
    // UI thread never has to wait.
    const std::pair<const char*, const char*> options[] = {
        {"vo", videoOutput},
        {"ao", "pipewire,pulse,alsa"},
        {"audio-fallback-to-null", "yes"},
        {"ytdl", "no"},
        {"load-scripts", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"keep-open", "no"},
        {"idle", "yes"},
        {"input-default-bindings", "no"},
        {"terminal", "no"},
        {"volume", "80"},
        {"hr-seek", "yes"},
        {"video-timing-offset", "0"},
        // Pictures converted for the software surface: Lanczos costs a fifth more than bilinear
        // (perf, 720p into 584x328), a difference no one sees at a downscale of this size.
        {"zimg-scaler", "bilinear"},
        {"access-references", "no"},
        {"demuxer", "lavf"},
        {"demuxer-lavf-o",
         "format_whitelist=[flv,live_flv,mov],protocol_whitelist=[file,http,https,tcp,tls]"},
        {"stream-lavf-o", "protocol_whitelist=[http,https,tcp,tls]"},
    };
    for (const auto& [name, value] : options)
        if (mpv_set_option_string(handle_, name, value) < 0)
            qCWarning(lcMpv) << "option refused" << name << value;
    for (const auto& [name, value] : extraOptions)
        if (mpv_set_option_string(handle_, name.constData(), value.constData()) < 0)
            qCWarning(lcMpv) << "option refused" << name << value;
    if (const QByteArray log = LogFileName(); !log.isEmpty())
        mpv_set_option_string(handle_, "log-file", log.constData());
    if (mpv_initialize(handle_) < 0) {
        qCWarning(lcMpv) << "mpv_initialize failed";
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
        return;
    }
    mpv_set_wakeup_callback(handle_, &MpvHandle::wakeup, this);
}

MpvHandle::~MpvHandle() {
    if (handle_)
        // After this returns no wakeup is under way, and none comes for an object that is gone.
        mpv_set_wakeup_callback(handle_, nullptr, nullptr);
    if (abandoned_) {
        qCWarning(lcMpv) << "an engine that does not answer is left to the process's exit";
        if (handle_)
            command({"stop"}); // should its core go on one day
        (void)renderer_.release();
        return;
    }
    EndEngine(std::exchange(handle_, nullptr), std::move(renderer_), std::move(afterEnd_));
}

bool MpvHandle::seemsStuck(std::chrono::milliseconds after) const {
    return unanswered_ > 0 && sinceAnswer_.isValid() && sinceAnswer_.elapsed() > after.count();
}

int MpvHandle::sent(int error) {
    if (error >= 0 && unanswered_++ == 0)
        sinceAnswer_.start();
    return error;
}

void MpvHandle::adoptRenderer(std::unique_ptr<SoftwareRenderer> renderer) {
    renderer_ = std::move(renderer);
}

void MpvHandle::afterEnd(std::function<void()> task) {
    afterEnd_.push_back(std::move(task));
}

void MpvHandle::wakeup(void* self) {
    // Runs on an mpv thread: only hand the work to the UI thread.
    QMetaObject::invokeMethod(static_cast<MpvHandle*>(self), &MpvHandle::drain,
                              Qt::QueuedConnection);
}

void MpvHandle::drain() {
    // A report may lead its host to drop the control, and this object with it.
    const QPointer<MpvHandle> alive(this);
    while (alive && handle_) {
        mpv_event* e = mpv_wait_event(handle_, 0);
        if (e->event_id == MPV_EVENT_NONE)
            break;
        if (e->event_id == MPV_EVENT_COMMAND_REPLY || e->event_id == MPV_EVENT_SET_PROPERTY_REPLY) {
            unanswered_ = std::max(0, unanswered_ - 1);
            sinceAnswer_.start();
        }
        emit eventArrived(e);
    }
}

int MpvHandle::command(std::initializer_list<const char*> args, uint64_t reply) {
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    return sent(mpv_command_async(handle_, reply, argv.data()));
}

int MpvHandle::setProperty(const char* name, mpv_format format, void* value) {
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    // The value is copied before the call returns.
    return sent(mpv_set_property_async(handle_, 0, name, format, value));
}

int MpvHandle::setFlag(const char* name, bool on) {
    int v = on ? 1 : 0;
    return setProperty(name, MPV_FORMAT_FLAG, &v);
}

int MpvHandle::setDouble(const char* name, double value) {
    return setProperty(name, MPV_FORMAT_DOUBLE, &value);
}

int MpvHandle::setInt64(const char* name, int64_t value) {
    return setProperty(name, MPV_FORMAT_INT64, &value);
}

int MpvHandle::setString(const char* name, const QString& value) {
    const QByteArray text = value.toUtf8();
    const char* data = text.constData();
    return setProperty(name, MPV_FORMAT_STRING, &data);
}

} // namespace flv
