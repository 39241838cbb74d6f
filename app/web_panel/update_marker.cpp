#include "app/web_panel/update_marker.h"

#include <QLocale>
#include <QString>
#include <cmath>

namespace update_marker {
namespace {
constexpr qsizetype kVersionLength = 3;
}

double readVersion(QStringView afterPrefix) {
    QString text = afterPrefix.left(kVersionLength).trimmed().toString();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

Scan scan(const QStringList& documentLines) {
    const QStringView prefix(kPrefix);
    for (const QString& line : documentLines) {
        const qsizetype at = line.indexOf(prefix);
        if (at >= 0) {
            return Scan{true, readVersion(QStringView(line).mid(at + prefix.size()))};
        }
    }
    return Scan{};
}

bool offersUpdate(double markerVersion, double ownVersion) {
    return markerVersion > 0 && std::abs(markerVersion - ownVersion) > 1e-9;
}

}  // namespace update_marker
