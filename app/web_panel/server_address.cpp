#include "app/web_panel/server_address.h"

#include "app/main_window/product_links.h"

namespace server_address {

QUrl baseUrl(unaIniFile* settings) {
    return product_links::baseUrl(settings);
}

QUrl file(const QUrl& base, const QString& relativePath) {
    return base.resolved(QUrl(relativePath));
}

}  // namespace server_address
