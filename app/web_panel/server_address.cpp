#include "app/web_panel/server_address.h"

namespace server_address {

QUrl file(const QUrl& base, const QString& relativePath) {
    return base.resolved(QUrl(relativePath));
}

}  // namespace server_address
