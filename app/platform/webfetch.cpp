#include "webfetch.h"

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

Q_LOGGING_CATEGORY(lcFetch, "ovelo.fetch", QtWarningMsg)

namespace ovelo {

namespace {

// Enough for any sane chain of moved pages; a loop ends here instead of at the time-out.
constexpr int kMaxRedirects = 20;

bool IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

// Errors that only say what the server's status said: the answer itself arrived whole.
bool IsStatusOnly(QNetworkReply::NetworkError error) {
    if (error == QNetworkReply::TooManyRedirectsError ||
        error == QNetworkReply::InsecureRedirectError)
        return false;
    return (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

QNetworkRequest MakeRequest(const QUrl& url, const QList<HttpHeader>& headers) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    for (const HttpHeader& header : headers)
        request.setRawHeader(header.first, header.second);
    return request;
}

int StatusOf(const QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

WebFetch::WebFetch(const QUrl& url, const QList<HttpHeader>& headers,
                   std::chrono::milliseconds timeout, qint64 maxBytes, QObject* parent)
    : QObject(parent), maxBytes_(maxBytes) {
    if (!IsWebAddress(url)) {
        qCInfo(lcFetch) << "not a web address:" << url;
        result_.failure = FetchFailure::BadAddress;
        finish();
        return;
    }
    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] { fail(FetchFailure::TimedOut); });
    deadline_->start(timeout);
    start(url, headers);
}

WebFetch::~WebFetch() {
    // Gone before the answer: the reply goes with the manager, which closes its connection,
    // and nothing of it reaches this object any more.
    if (reply_)
        reply_->disconnect(this);
}

void WebFetch::start(const QUrl& url, const QList<HttpHeader>& headers) {
    network_ = new QNetworkAccessManager(this);
    reply_ = network_->get(MakeRequest(url, headers));
    connect(reply_, &QNetworkReply::metaDataChanged, this, &WebFetch::weigh);
    connect(reply_, &QNetworkReply::readyRead, this, &WebFetch::take);
    connect(reply_, &QNetworkReply::finished, this, &WebFetch::finish);
}

// A body announced as over the limit fails before it comes. A redirect's own body is not the
// one read.
void WebFetch::weigh() {
    const int status = StatusOf(reply_);
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if ((status < 300 || status >= 400) && length.isValid() && length.toLongLong() > maxBytes_)
        fail(FetchFailure::TooLarge);
}

// The body is read as it comes, so an endless one is cut at the limit instead of filling the
// memory.
void WebFetch::take() {
    if (!result_.ok() || !reply_)
        return;
    result_.body += reply_->readAll();
    if (result_.body.size() > maxBytes_)
        fail(FetchFailure::TooLarge);
}

void WebFetch::fail(FetchFailure failure) {
    if (result_.ok())
        result_.failure = failure;
    // The abort finishes the reply, and so this fetch, before it returns.
    if (reply_ && !reply_->isFinished())
        reply_->abort();
}

void WebFetch::finish() {
    if (done_)
        return;
    done_ = true;
    if (deadline_)
        deadline_->stop();
    if (reply_) {
        take();
        const QNetworkReply::NetworkError error = reply_->error();
        result_.status = StatusOf(reply_);
        if (result_.ok() && error != QNetworkReply::NoError &&
            (result_.status == 0 || !IsStatusOnly(error)))
            result_.failure = FetchFailure::Network;
        if (!result_.ok())
            qCInfo(lcFetch) << "fetch failed:" << reply_->url() << int(result_.failure)
                            << reply_->errorString();
        // A reply may still be inside one of its own signals here: it goes later.
        reply_->disconnect(this);
        reply_->deleteLater();
        reply_ = nullptr;
    }
    if (!result_.ok())
        result_.body.clear();
    // Never from inside the constructor or a reply's signal: the receiver may delete this.
    QMetaObject::invokeMethod(this, &WebFetch::report, Qt::QueuedConnection);
}

void WebFetch::report() {
    // Handed over from the stack: the receiver may delete this fetch while it holds the result.
    const FetchResult result = std::move(result_);
    emit finished(result);
}

} // namespace ovelo
