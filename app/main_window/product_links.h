#pragma once

#include <QString>
#include <QUrl>

// The product's web server. One base address for every link of the program.
namespace product_links {

inline const QString kBaseUrl = QStringLiteral("https://www.quillanvero.example/");

inline QUrl site() {
    return QUrl(kBaseUrl);
}
inline QUrl manual() {
    return QUrl(kBaseUrl + QStringLiteral("quillanverosoftware.pdf"));
}

}  // namespace product_links
