// The two MPRIS interfaces: thin forwards to the service, which knows the player.
#include "product.h"
#include "session/mpris.h"

namespace ovelo {

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

QString MprisRootAdaptor::identity() const {
    return QString::fromLatin1(kProductName);
}

QString MprisRootAdaptor::desktopEntry() const {
    return QStringLiteral("ovelo");
}

QStringList MprisRootAdaptor::uriSchemes() const {
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")};
}

QStringList MprisRootAdaptor::mimeTypes() const {
    return {QStringLiteral("video/x-flv"), QStringLiteral("video/x-f4v")};
}

void MprisRootAdaptor::Raise() {
    service_->raise();
}

void MprisRootAdaptor::Quit() {
    service_->quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {
    connect(service, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const {
    return service_->playbackStatus();
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return service_->metadata();
}

double MprisPlayerAdaptor::volume() const {
    return service_->volume();
}

void MprisPlayerAdaptor::setVolume(double volume) {
    service_->setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const {
    return service_->position();
}

bool MprisPlayerAdaptor::hasMovie() const {
    return service_->hasMovie();
}

void MprisPlayerAdaptor::Pause() {
    service_->pause();
}

void MprisPlayerAdaptor::PlayPause() {
    service_->playPause();
}

void MprisPlayerAdaptor::Stop() {
    service_->stop();
}

void MprisPlayerAdaptor::Play() {
    service_->play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset) {
    service_->seek(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    service_->setPosition(TrackId, Position);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri) {
    service_->openUri(Uri);
}

} // namespace ovelo
