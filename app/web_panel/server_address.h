#pragma once

#include <QUrl>

// Files on the product's web server, whose base address is
// product_links::baseUrl.
namespace server_address {

// A file on the server, relative to the base address.
QUrl file(const QUrl& base, const QString& relativePath);

inline constexpr char kAdvertisingPage[] = "publicidad.htm";
inline constexpr char kNewProgram[] = "update/quillanverosoftware.exe";
inline constexpr char kUpdater[] = "update/update.exe";

}  // namespace server_address
