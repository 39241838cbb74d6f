#pragma once

#include <QStringList>
#include <QStringView>

// The update marker of the advertising page: "Quillanvero_" and a version.
namespace update_marker {

inline constexpr char16_t kPrefix[] = u"Quillanvero_";

struct Scan {
    bool found = false;  // some line carries the prefix
    double version = 0;  // the first such line's number, 0 when unreadable
};

// Reads the (up to) three characters after the prefix as a version number.
// "." and "," both mark the decimals whatever the system's number format, so
// "1.1" and "1,1" are 1.1 everywhere; anything unreadable is 0.
double readVersion(QStringView afterPrefix);

// Only the first line with the prefix counts, whatever its number.
Scan scan(const QStringList& documentLines);

// A readable marker that names another version (older or newer) offers the update.
bool offersUpdate(double markerVersion, double ownVersion);

}  // namespace update_marker
