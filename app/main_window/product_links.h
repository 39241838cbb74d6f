#pragma once

#include <QString>
#include <QUrl>

class unaIniFile;

// The product's web server. One base address for every link of the program.
namespace product_links {

inline const QString kBaseUrl = QStringLiteral("https://www.quillanvero.example/");

// The built-in base address, or the "serverUrl" of section "main" in the
// settings when one is stored; always ends with a slash.
QUrl baseUrl(unaIniFile* settings);

inline QUrl manual(const QUrl& base) {
    return base.resolved(QUrl(QStringLiteral("quillanverosoftware.pdf")));
}

}  // namespace product_links
