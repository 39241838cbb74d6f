#include "app/web_panel/file_download.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <memory>

namespace {

constexpr int kTransferTimeoutMs = 30000;  // a stalled server must not hold the dialog forever

bool successStatus(const QNetworkReply& reply) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Non-HTTP addresses (file:) carry no status; the reply's error says it all.
    return !status.isValid() || (status.toInt() >= 200 && status.toInt() < 300);
}

}  // namespace

bool downloadFile(const QUrl& url, const QString& fileName) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("agent"));
    request.setTransferTimeout(kTransferTimeoutMs);
    const std::unique_ptr<QNetworkReply> reply(network.get(request));

    qint64 written = 0;
    bool writeFailed = false;
    const auto store = [&] {
        const QByteArray block = reply->readAll();
        if (block.isEmpty() || writeFailed) {
            return;
        }
        if (file.write(block) != block.size()) {
            writeFailed = true;
            reply->abort();
            return;
        }
        written += block.size();
    };
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, store);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    store();  // what arrived with the end

    if (writeFailed || reply->error() != QNetworkReply::NoError || !successStatus(*reply)) {
        file.cancelWriting();
        return false;
    }
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() != written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
