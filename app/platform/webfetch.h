// An HTTP GET that reports its whole answer once, as a signal, while the program goes on. The
// finder reads a web page and the updater a small file with it; each window that asks owns
// its fetch, so closing the window cancels the transfer and nothing is reported to a window
// that is gone.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QUrl>
#include <chrono>
#include <utility>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace ovelo {

using HttpHeader = std::pair<QByteArray, QByteArray>;

enum class FetchFailure {
    None,
    BadAddress, // not an http or https address
    Network,    // no answer: refused, unknown host, cut short, too many redirects
    TimedOut,   // the whole transfer took longer than allowed
    TooLarge,   // the body is over the limit
};

struct FetchResult {
    // The body of the last answer, whatever its status: an error page is a page too.
    QByteArray body;
    // The HTTP status of that answer; 0 when none arrived.
    int status = 0;
    FetchFailure failure = FetchFailure::None;

    bool ok() const { return failure == FetchFailure::None; }
};

// GETs `url` with `headers` and no body as soon as it is made, following redirects. The
// transfer fails when it takes longer than `timeout` all told, or when the body holds more than
// `maxBytes` bytes; a failed transfer has an empty body. `finished` comes exactly once, from the
// event loop, never from inside the constructor; deleting the fetch (or its parent) before then
// cancels the transfer and nothing is reported. The receiver may delete the fetch in its slot.
class WebFetch : public QObject {
    Q_OBJECT
  public:
    WebFetch(const QUrl& url, const QList<HttpHeader>& headers, std::chrono::milliseconds timeout,
             qint64 maxBytes, QObject* parent);
    ~WebFetch() override;

  signals:
    void finished(const ovelo::FetchResult& result);

  private:
    void start(const QUrl& url, const QList<HttpHeader>& headers);
    void weigh();
    void take();
    void fail(FetchFailure failure);
    void finish();
    void report();

    QNetworkAccessManager* network_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    QTimer* deadline_ = nullptr;
    qint64 maxBytes_;
    FetchResult result_;
    bool done_ = false;
};

} // namespace ovelo

Q_DECLARE_METATYPE(ovelo::FetchResult)
