// A web server on 127.0.0.1 inside the test process: it answers from a table of paths, so the
// program's fetches are tried against real HTTP without the internet, and it stops with the
// test.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QUrl>
#include <functional>

class QTcpSocket;

class WebServer : public QObject {
    Q_OBJECT
  public:
    // What to send, as it goes on the wire, and whether to hang up after it: a server that
    // stalls keeps the connection open, and an empty one without a word. One that trickles
    // sends `drip` again every `dripMs` for as long as the connection stays open.
    struct Reply {
        Reply(QByteArray bytes = {}, bool hangUp = true) : wire(std::move(bytes)), close(hangUp) {}
        QByteArray wire;
        bool close;
        QByteArray drip;
        int dripMs = 0;
    };
    static Reply Stall(QByteArray bytes = {}) { return Reply(std::move(bytes), false); }
    // Accepts the request and never answers.
    static Reply Silent() { return Stall(); }
    static Reply Trickle(QByteArray head, QByteArray drip, int everyMs) {
        Reply reply = Stall(std::move(head));
        reply.drip = std::move(drip);
        reply.dripMs = everyMs;
        return reply;
    }
    // The reply to a request target ("/path?query").
    using Route = std::function<Reply(const QByteArray& target)>;

    WebServer();

    bool listening() const { return server_.isListening(); }
    // The address of `pathAndQuery` on this server.
    QUrl url(const QString& pathAndQuery) const;
    QString base() const;

    void route(const QByteArray& path, Route route);
    // A fixed answer for `path`.
    void answer(const QByteArray& path, int status, const QByteArray& body,
                const QByteArray& extraHead = {});
    // Every request head received, in order.
    const QList<QByteArray>& requests() const { return requests_; }
    // The connections open now: one the client gave up on is closed.
    int openConnections() const { return open_; }

    // A whole answer with its length and "Connection: close".
    static QByteArray Response(int status, const QByteArray& body,
                               const QByteArray& extraHead = {});

  private:
    void serve(QTcpSocket* socket);
    void drip(QTcpSocket* socket, const Reply& reply);

    QTcpServer server_;
    QMap<QByteArray, Route> routes_;
    QList<QByteArray> requests_;
    int open_ = 0;
};
