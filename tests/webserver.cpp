#include "webserver.h"

#include <QTcpSocket>
#include <QTimer>

WebServer::WebServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            ++open_;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                --open_;
                socket->deleteLater();
            });
        }
    });
}

QUrl WebServer::url(const QString& pathAndQuery) const {
    return QUrl(base() + pathAndQuery);
}

QString WebServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void WebServer::route(const QByteArray& path, Route route) {
    routes_[path] = std::move(route);
}

void WebServer::answer(const QByteArray& path, int status, const QByteArray& body,
                       const QByteArray& extraHead) {
    const QByteArray response = Response(status, body, extraHead);
    route(path, [response](const QByteArray&) { return response; });
}

QByteArray WebServer::Response(int status, const QByteArray& body, const QByteArray& extraHead) {
    return "HTTP/1.1 " + QByteArray::number(status) +
           " Test\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n" + extraHead + "\r\n" + body;
}

void WebServer::serve(QTcpSocket* socket) {
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    requests_ << head;
    const QByteArray target = head.split(' ').value(1);
    const qsizetype query = target.indexOf('?');
    const QByteArray path = query < 0 ? target : target.first(query);
    const auto found = routes_.constFind(path);
    const Reply reply =
        found == routes_.constEnd() ? Reply(Response(404, "no such page")) : (*found)(target);
    socket->write(reply.wire);
    if (reply.close)
        socket->disconnectFromHost();
    else if (reply.dripMs > 0)
        drip(socket, reply);
}

void WebServer::drip(QTcpSocket* socket, const Reply& reply) {
    // Goes with the socket, when the client hangs up or the server ends.
    auto* timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket,
            [socket, bytes = reply.drip] { socket->write(bytes); });
    timer->start(reply.dripMs);
}
