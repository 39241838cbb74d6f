#include <gtest/gtest.h>

#include <QLocale>

#include "app/web_panel/update_marker.h"

namespace {

struct MarkerCase {
    const char* name;
    QStringList lines;
    bool found;
    double version;
    bool offersUpdate;  // for this program's 1.0
};

class MarkerScan : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(MarkerScan, ReadsTheFirstMarkerLine) {
    const MarkerCase& c = GetParam();
    // The reading must not depend on the system's number format.
    for (const char* locale : {"C", "de_DE", "en_US", "es_ES"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        const update_marker::Scan scan = update_marker::scan(c.lines);
        EXPECT_EQ(scan.found, c.found) << locale;
        EXPECT_DOUBLE_EQ(scan.version, c.version) << locale;
        EXPECT_EQ(update_marker::offersUpdate(scan.version, 1.0), c.offersUpdate) << locale;
    }
    QLocale::setDefault(QLocale::c());
}

const QString kUrl = QStringLiteral("Current Url: http://127.0.0.1/publicidad.htm");

INSTANTIATE_TEST_SUITE_P(
    Markers, MarkerScan,
    ::testing::Values(
        MarkerCase{"SameVersion", {kUrl, "Current Title: Quillanvero_1.0"}, true, 1.0, false},
        MarkerCase{"OlderVersion", {"Current Title: Quillanvero_0.9"}, true, 0.9, true},
        MarkerCase{"Unreadable", {"Current Title: Quillanvero_abc"}, true, 0, false},
        MarkerCase{"ThreeCharactersOnly", {"Quillanvero_1.15"}, true, 1.1, true},
        MarkerCase{"TrailingBlanks", {"Current Title: Quillanvero_2  "}, true, 2, true},
        MarkerCase{"CommaDecimals", {"Quillanvero_1,1"}, true, 1.1, true},
        MarkerCase{"DotDecimals", {"Quillanvero_1.1"}, true, 1.1, true},
        MarkerCase{"AtTheEndOfTheLine", {"Cookie: Quillanvero_"}, true, 0, false},
        MarkerCase{"FirstLineWins",
                   {kUrl, "Current Title: Quillanvero_1.0", "Cookie: Quillanvero_2.0"},
                   true,
                   1.0,
                   false},
        MarkerCase{"CaseMatters", {"Current Title: quillanvero_2.0"}, false, 0, false},
        MarkerCase{"NoMarker", {kUrl, "Current Title: Radio"}, false, 0, false},
        MarkerCase{"NoLines", {}, false, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
