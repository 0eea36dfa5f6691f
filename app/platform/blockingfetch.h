// An HTTP GET that the caller waits for, on the user-interface thread. The program reads a web
// page or a small file at a moment where nothing else may happen: the windows repaint while it
// waits, but take no clicks or keys, and the pointer shows that the program is busy.
#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <chrono>
#include <utility>

namespace ovelo {

using HttpHeader = std::pair<QByteArray, QByteArray>;

enum class FetchFailure {
    None,
    BadAddress,  // not an http or https address
    Network,     // no answer: refused, unknown host, cut short, too many redirects
    TimedOut,    // the whole transfer took longer than allowed
    TooLarge,    // the body is over the limit
    Interrupted, // the program is quitting
};

struct FetchResult {
    // The body of the last answer, whatever its status: an error page is a page too.
    QByteArray body;
    // The HTTP status of that answer; 0 when none arrived.
    int status = 0;
    FetchFailure failure = FetchFailure::None;

    bool ok() const { return failure == FetchFailure::None; }
};

// GETs `url` with `headers` and no body, following redirects, and waits for the whole answer
// through a local event loop that leaves user input alone. The transfer fails when it takes
// longer than `timeout` all told, or when the body holds more than `maxBytes` bytes; a failed
// transfer has an empty body.
FetchResult BlockingFetch(const QUrl& url, const QList<HttpHeader>& headers,
                          std::chrono::milliseconds timeout, qint64 maxBytes);

} // namespace ovelo
