#include "app/web_panel/internet_connection.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace {

bool isLocalServer(const QUrl& server) {
    const QString host = server.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

}  // namespace

bool isInternetConnected(const QUrl& server) {
    if (isLocalServer(server)) {
        return true;
    }
    for (const QNetworkInterface& face : QNetworkInterface::allInterfaces()) {
        const auto flags = face.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack) && !face.addressEntries().isEmpty()) {
            return true;
        }
    }
    return false;
}
