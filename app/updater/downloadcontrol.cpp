#include "updater/downloadcontrol.h"

#include <QDir>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

Q_LOGGING_CATEGORY(lcDownload, "ovelo.updater.download", QtWarningMsg)

namespace ovelo {

namespace {

// As many as any sane server needs; a loop ends here.
constexpr int kMaxRedirects = 20;

bool IsLoopback(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

bool IsTrustedInstallerAddress(const QUrl& address, const QUrl& source) {
    if (!address.isValid() || address.host().isEmpty() ||
        address.host().compare(source.host(), Qt::CaseInsensitive) != 0)
        return false;
    const QString scheme = address.scheme().toLower();
    return scheme == QLatin1String("https") ||
           (scheme == QLatin1String("http") && IsLoopback(address.host()));
}

DownloadControl::DownloadControl(QObject* parent) : QObject(parent) {}

DownloadControl::~DownloadControl() {
    Abort();
}

QString DownloadControl::SavedPath() const {
    return QDir(saveFolder_).filePath(QUrl(sourceUrl_).fileName());
}

void DownloadControl::StartDownload() {
    if (running())
        return;
    const QUrl source(sourceUrl_);
    received_ = 0;
    total_ = 0;
    if (!IsTrustedInstallerAddress(source, source) || source.fileName().isEmpty() ||
        saveFolder_.isEmpty()) {
        qCInfo(lcDownload) << "refused to download" << source << "to" << saveFolder_;
        // Reported after the start returns, as every other outcome is.
        QTimer::singleShot(0, this, &DownloadControl::DownloadFailed);
        return;
    }
    QNetworkRequest request(source);
    // Every hop is checked before it is taken: a redirect may not carry the installer off to
    // another host or onto plain http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setTransferTimeout(int(std::chrono::milliseconds(kStallTimeout).count()));
    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::redirected, this, &DownloadControl::onRedirected);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &DownloadControl::onHeaders);
    connect(reply_, &QNetworkReply::readyRead, this, &DownloadControl::onData);
    connect(reply_, &QNetworkReply::finished, this, &DownloadControl::onFinished);
}

void DownloadControl::Abort() {
    stop();
}

void DownloadControl::onRedirected(const QUrl& target) {
    if (!IsTrustedInstallerAddress(target, QUrl(sourceUrl_))) {
        qCInfo(lcDownload) << "refused the redirect to" << target;
        fail("untrusted redirect");
        return;
    }
    emit reply_->redirectAllowed();
}

void DownloadControl::onHeaders() {
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (file_ || (status >= 300 && status < 400))
        return;
    if (status != 200) {
        fail("no file on the server");
        return;
    }
    // The redirects were checked one by one; the answer's own address is checked all the same.
    if (!IsTrustedInstallerAddress(reply_->url(), QUrl(sourceUrl_))) {
        fail("untrusted address");
        return;
    }
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    total_ = length.isValid() ? length.toLongLong() : 0;
    if (total_ < 0 || total_ > kMaxBytes) {
        fail("announced length out of bounds");
        return;
    }
    if (!openFile())
        return;
    emit DownloadStarted();
}

bool DownloadControl::openFile() {
    if (!QDir().mkpath(saveFolder_)) {
        fail("no save folder");
        return false;
    }
    file_ = std::make_unique<QSaveFile>(SavedPath());
    if (!file_->open(QIODevice::WriteOnly)) {
        fail("cannot write the file");
        return false;
    }
    return true;
}

void DownloadControl::onData() {
    if (!file_) {
        // A redirect's own body, or an answer already refused.
        if (reply_)
            reply_->readAll();
        return;
    }
    const QByteArray bytes = reply_->readAll();
    if (bytes.isEmpty())
        return;
    received_ += bytes.size();
    if (received_ > kMaxBytes || (total_ > 0 && received_ > total_)) {
        fail("more than announced");
        return;
    }
    if (file_->write(bytes) != bytes.size()) {
        fail("cannot write the file");
        return;
    }
    emit DownloadProgress(0, qint32(received_), qint32(total_));
}

void DownloadControl::onFinished() {
    if (!reply_)
        return;
    onData();
    if (!reply_)
        return;
    if (reply_->error() != QNetworkReply::NoError) {
        qCInfo(lcDownload) << "download failed:" << reply_->errorString();
        fail("transfer failed");
        return;
    }
    if (!file_ || (total_ > 0 && received_ != total_)) {
        fail("cut short");
        return;
    }
    // flush() first: commit() would rename a file whose last buffered write failed.
    if (!file_->flush() || !file_->commit()) {
        fail("cannot save the file");
        return;
    }
    file_.reset();
    reply_->deleteLater();
    reply_ = nullptr;
    emit DownloadFinished(0);
}

void DownloadControl::fail(const char* why) {
    qCInfo(lcDownload) << "download of" << sourceUrl_ << "failed:" << why;
    stop();
    emit DownloadFailed();
}

void DownloadControl::stop() {
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        // This control hears no more of it. The abort waits for the event loop: a reply's own
        // signal may be what brought the download here, and a reply aborted inside its own
        // signal reports its end twice.
        reply->disconnect(this);
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
        reply->deleteLater();
    }
    // Discards the unfinished file: nothing of it stays in the folder.
    file_.reset();
}

} // namespace ovelo
