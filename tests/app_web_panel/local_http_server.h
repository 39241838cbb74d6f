#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

// A small HTTP server on 127.0.0.1 inside the test, answering on the test's
// own event loop. Unknown paths answer 404.
class LocalHttpServer : public QObject {
  public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/octet-stream";
        qsizetype sentBytes = -1;  // fewer than the body: the connection drops early
    };

    LocalHttpServer();
    bool listening() const { return server_.isListening(); }
    QUrl base() const;  // "http://127.0.0.1:<port>/"

    void answer(const QString& path, Answer answer) { answers_[path] = std::move(answer); }
    const QStringList& requested() const { return requested_; }

  private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    QHash<QString, Answer> answers_;
    QStringList requested_;
};
