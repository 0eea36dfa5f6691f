#include "blockingfetch.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
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

// The busy pointer while the program waits; nothing to do without a window system.
class BusyPointer {
  public:
    BusyPointer() : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (shown_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyPointer() {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    bool shown_;
};

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

// One transfer: reads the body as it comes, so an endless one is cut at the limit instead of
// filling the memory.
class Transfer {
  public:
    Transfer(QNetworkReply* reply, qint64 maxBytes) : reply_(reply), maxBytes_(maxBytes) {
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] { take(); });
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this] { weigh(); });
    }

    void fail(FetchFailure failure) {
        if (result_.failure == FetchFailure::None)
            result_.failure = failure;
        if (!reply_->isFinished())
            reply_->abort();
    }

    FetchResult finish() {
        if (!reply_->isFinished())
            fail(FetchFailure::Interrupted);
        take();
        const QNetworkReply::NetworkError error = reply_->error();
        result_.status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (result_.ok() && error != QNetworkReply::NoError &&
            (result_.status == 0 || !IsStatusOnly(error)))
            result_.failure = FetchFailure::Network;
        if (!result_.ok()) {
            qCInfo(lcFetch) << "fetch failed:" << reply_->url() << int(result_.failure)
                            << reply_->errorString();
            result_.body.clear();
        }
        return std::move(result_);
    }

  private:
    // A body announced as over the limit fails before it comes. A redirect's own body is not
    // the one read.
    void weigh() {
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if ((status < 300 || status >= 400) && length.isValid() && length.toLongLong() > maxBytes_)
            fail(FetchFailure::TooLarge);
    }

    void take() {
        if (!result_.ok())
            return;
        result_.body += reply_->readAll();
        if (result_.body.size() > maxBytes_)
            fail(FetchFailure::TooLarge);
    }

    QNetworkReply* reply_;
    qint64 maxBytes_;
    FetchResult result_;
};

} // namespace

FetchResult BlockingFetch(const QUrl& url, const QList<HttpHeader>& headers,
                          std::chrono::milliseconds timeout, qint64 maxBytes) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        qCInfo(lcFetch) << "not a web address:" << url;
        return {{}, 0, FetchFailure::BadAddress};
    }
    BusyPointer busy;
    QNetworkAccessManager manager;
    // Owned by the manager, and gone with it.
    QNetworkReply* reply = manager.get(MakeRequest(url, headers));
    Transfer transfer(reply, maxBytes);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply,
                     [&transfer] { transfer.fail(FetchFailure::TimedOut); });
    deadline.start(timeout);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return transfer.finish();
}

} // namespace ovelo
