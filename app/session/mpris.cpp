#include "session/mpris.h"

#include "platform/rounding.h"
#include "session/mediacommands.h"

#include "flv/velmora.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QUrl>
#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcMpris, "ovelo.mpris", QtWarningMsg)

namespace ovelo {

namespace {

const char kObjectPath[] = "/org/mpris/MediaPlayer2";
const char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
const char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
constexpr qint64 kMicroseconds = 1000000;
// The player reports its position every 50 ms and the desktop is told a few times a second: a
// position this far from where steady playback would be was a seek.
constexpr qint64 kSeekThreshold = 1500000;

bool IsAddress(const QString& movie) {
    return movie.contains(QLatin1String("://"));
}

QString TitleOf(const QString& movie) {
    if (IsAddress(movie)) {
        const QString name = QUrl(movie).fileName();
        return name.isEmpty() ? movie : name;
    }
    return QFileInfo(movie).fileName();
}

QString UrlOf(const QString& movie) {
    return IsAddress(movie) ? movie : QUrl::fromLocalFile(movie).toString();
}

} // namespace

bool IsPlaying(const flv::Velmora& player) {
    const QString state = player.State();
    return !player.Movie().isEmpty() && (state == flv::state::Play || state == flv::state::Empty);
}

MprisService::MprisService(MediaCommands& commands, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), commands_(commands), bus_(bus) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    if (!bus_.isConnected()) {
        qCDebug(lcMpris) << "no session bus: no media controls";
        return;
    }
    if (!bus_.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcMpris) << "cannot offer the media player object";
        return;
    }
    // A second instance may not take the first one's name; MPRIS names it by its process.
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.ovelo");
    const QString ownName =
        name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString& candidate : {name, ownName}) {
        if (bus_.registerService(candidate)) {
            serviceName_ = candidate;
            break;
        }
    }
    if (serviceName_.isEmpty())
        qCWarning(lcMpris) << "no media player name could be had on the bus";
    announced_ = visibleProperties();
    announcedSources_ = sources();
    followTrack();
    lastPosition_ = position();
    sinceLastPosition_.start();
}

MprisService::~MprisService() {
    if (!serviceName_.isEmpty())
        bus_.unregisterService(serviceName_);
    bus_.unregisterObject(kObjectPath);
}

QString MprisService::playbackStatus() const {
    const flv::Velmora& player = commands_.mediaPlayer();
    if (IsPlaying(player))
        return QStringLiteral("Playing");
    if (player.State() == flv::state::Pause && !player.Movie().isEmpty())
        return QStringLiteral("Paused");
    return QStringLiteral("Stopped");
}

bool MprisService::hasMovie() const {
    return !commands_.mediaPlayer().Movie().isEmpty();
}

QVariantMap MprisService::metadata() const {
    const flv::Velmora& player = commands_.mediaPlayer();
    const QString movie = player.Movie();
    if (movie.isEmpty())
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kNoTrack))}};
    const QString track = QStringLiteral("/org/ovelo/Ovelo/track/%1").arg(trackNumber_);
    QVariantMap data{{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(track))},
                     {QStringLiteral("xesam:title"), TitleOf(movie)},
                     {QStringLiteral("xesam:url"), UrlOf(movie)}};
    if (player.TotalTime() > 0)
        data.insert(QStringLiteral("mpris:length"), qint64(player.TotalTime()) * kMicroseconds);
    return data;
}

qint64 MprisService::position() const {
    const flv::Velmora& player = commands_.mediaPlayer();
    if (player.Movie().isEmpty())
        return 0;
    return qint64(std::llround(double(player.CurrentTime()) * kMicroseconds));
}

double MprisService::volume() const {
    return commands_.volumeLevel() / 100.0;
}

void MprisService::setVolume(double volume) {
    if (!std::isfinite(volume))
        return;
    commands_.setVolumeLevel(int(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
    refresh();
}

void MprisService::playPause() {
    commands_.togglePlayback();
}

void MprisService::play() {
    // The toggle starts nothing that is stopped, as the window's own play button.
    if (playbackStatus() != QLatin1String("Playing"))
        commands_.togglePlayback();
}

void MprisService::pause() {
    if (playbackStatus() == QLatin1String("Playing"))
        commands_.togglePlayback();
}

void MprisService::stop() {
    commands_.stopPlayback();
}

void MprisService::seek(qint64 offset) {
    if (!hasMovie())
        return;
    // Past the end would be the next track, and there is none.
    const qint64 target = std::max<qint64>(0, position() + offset);
    const qint64 length = qint64(commands_.mediaPlayer().TotalTime()) * kMicroseconds;
    if (length > 0 && target > length)
        return;
    seekToMicroseconds(target);
}

void MprisService::setPosition(const QDBusObjectPath& track, qint64 position) {
    const QVariant current = metadata().value(QStringLiteral("mpris:trackid"));
    if (!hasMovie() || track != current.value<QDBusObjectPath>() || position < 0)
        return;
    const qint64 length = qint64(commands_.mediaPlayer().TotalTime()) * kMicroseconds;
    if (length > 0 && position > length)
        return;
    seekToMicroseconds(position);
}

void MprisService::seekToMicroseconds(qint64 position) {
    commands_.seekTo(RoundEven(double(position) / kMicroseconds));
}

void MprisService::openUri(const QString& uri) {
    const QUrl url(uri);
    commands_.playAddress(url.isLocalFile() ? url.toLocalFile() : uri);
}

void MprisService::raise() {
    commands_.raiseWindow();
}

void MprisService::quit() {
    // After the reply has gone out: the close sequence ends the program.
    QMetaObject::invokeMethod(
        this, [this] { commands_.quitProgram(); }, Qt::QueuedConnection);
}

MprisService::Sources MprisService::sources() const {
    const flv::Velmora& player = commands_.mediaPlayer();
    return {player.Movie(), player.State(), player.TotalTime(), commands_.volumeLevel(),
            trackNumber_};
}

QVariantMap MprisService::visibleProperties() const {
    const bool movie = hasMovie();
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanPlay"), movie},
            {QStringLiteral("CanPause"), movie},
            {QStringLiteral("CanSeek"), movie}};
}

void MprisService::refresh() {
    if (serviceName_.isEmpty())
        return;
    followTrack();
    // Five times a second, mostly finding nothing new: the maps are made only when what they
    // are made from has changed.
    if (Sources now = sources(); now != announcedSources_) {
        announcedSources_ = std::move(now);
        const QVariantMap properties = visibleProperties();
        QVariantMap changed;
        for (auto it = properties.cbegin(); it != properties.cend(); ++it)
            if (announced_.value(it.key()) != it.value())
                changed.insert(it.key(), it.value());
        announced_ = properties;
        if (!changed.isEmpty())
            announce(changed);
    }
    watchPosition();
}

void MprisService::followTrack() {
    const QString movie = commands_.mediaPlayer().Movie();
    if (movie == trackMovie_)
        return;
    trackMovie_ = movie;
    if (!movie.isEmpty())
        ++trackNumber_;
}

void MprisService::watchPosition() {
    const qint64 now = position();
    const bool playing = playbackStatus() == QLatin1String("Playing");
    const qint64 expected = lastPosition_ + (playing ? sinceLastPosition_.elapsed() * 1000 : 0);
    if (hasMovie() && std::abs(now - expected) > kSeekThreshold)
        emit seeked(now);
    lastPosition_ = now;
    sinceLastPosition_.restart();
}

void MprisService::announce(const QVariantMap& changed) {
    qCDebug(lcMpris) << "announcing" << changed.keys();
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}

} // namespace ovelo
