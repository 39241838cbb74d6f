#include "app/main_window/product_links.h"

#include "framework/ini/ini_file.h"

namespace product_links {

QUrl baseUrl(unaIniFile* settings) {
    QString text = kBaseUrl;
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

}  // namespace product_links
