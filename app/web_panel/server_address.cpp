#include "app/web_panel/server_address.h"

#include "app/main_window/product_links.h"
#include "framework/ini/ini_file.h"

namespace server_address {

QUrl baseUrl(unaIniFile* settings) {
    QString text = product_links::kBaseUrl;
    if (settings != nullptr) {
        settings->setSection("main");
        const QString stored = QString::fromStdString(settings->getString("serverUrl")).trimmed();
        if (!stored.isEmpty()) {
            text = stored;
        }
    }
    if (!text.endsWith(QLatin1Char('/'))) {
        text += QLatin1Char('/');  // so relative files land below it, not beside it
    }
    return QUrl(text);
}

QUrl file(const QUrl& base, const QString& relativePath) {
    return base.resolved(QUrl(relativePath));
}

}  // namespace server_address
