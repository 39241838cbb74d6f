#pragma once

#include <QUrl>

class unaIniFile;

// Where the product's web server is: the built-in base address, or the
// "serverUrl" of section "main" in the settings when one is stored.
namespace server_address {

QUrl baseUrl(unaIniFile* settings);

// A file on the server, relative to the base address.
QUrl file(const QUrl& base, const QString& relativePath);

inline constexpr char kAdvertisingPage[] = "publicidad.htm";
inline constexpr char kNewProgram[] = "update/quillanverosoftware.exe";
inline constexpr char kUpdater[] = "update/update.exe";

}  // namespace server_address
