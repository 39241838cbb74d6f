#include "tests/app_web_panel/local_http_server.h"

#include <QTcpSocket>

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LocalHttpServer::base() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
}

void LocalHttpServer::serve(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n")) {
        return;  // the headers are not complete yet
    }
    socket->setProperty("request", QByteArray());
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = words.size() > 1 ? QString::fromUtf8(words[1]) : QString();
    requested_.push_back(path);

    Answer found;
    const auto known = answers_.constFind(path);
    if (known != answers_.constEnd()) {
        found = *known;
    } else {
        found.status = 404;
        found.body = "<html><body>Not found</body></html>";
        found.contentType = "text/html";
    }
    const QByteArray reason = found.status == 200 ? "OK" : "Error";
    QByteArray head = "HTTP/1.1 " + QByteArray::number(found.status) + ' ' + reason + "\r\n";
    head += "Content-Type: " + found.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(found.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    socket->write(found.sentBytes >= 0 ? found.body.left(found.sentBytes) : found.body);
    socket->disconnectFromHost();
}
