#include "app/web_panel/update_check.h"
#include "tests/app_web_panel/window_fixture.h"

namespace {

struct ScanCase {
    const char* name;
    QStringList lines;
    bool offered;
};

class MarkerScanWindow : public WindowTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(MarkerScanWindow, MarkerShowsThePanelAndAnotherVersionOffersTheUpdate) {
    const ScanCase& c = GetParam();
    createWindow().show();
    window_->adTimer().start();
    int offers = 0;
    const bool kept = runMarkerScan(*window_, c.lines, [&] {
        ++offers;
        EXPECT_TRUE(window_->isVisible());  // the dialog comes before the window closes
    });
    EXPECT_FALSE(window_->adTimer().isActive());
    EXPECT_TRUE(window_->markerFound);
    EXPECT_EQ(offers, c.offered ? 1 : 0);
    EXPECT_EQ(kept, !c.offered);
    EXPECT_EQ(window_->isVisible(), !c.offered);
    if (!c.offered) {
        EXPECT_TRUE(panelShown());
        EXPECT_EQ(connection(), QStringLiteral("Connected"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Markers, MarkerScanWindow,
    ::testing::Values(ScanCase{"SameVersion", {"Current Title: Quillanvero_1.0"}, false},
                      ScanCase{"OlderVersion", {"Current Title: Quillanvero_0.9"}, true},
                      ScanCase{"Unreadable", {"Current Title: Quillanvero_abc"}, false},
                      ScanCase{"NewerVersion", {"Current Title: Quillanvero_1.15"}, true},
                      ScanCase{"FirstLineWins",
                               {"Current Title: Quillanvero_1.0", "Cookie: Quillanvero_2"},
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, PageWithoutMarkerKeepsThePanelHidden) {
    createWindow().show();
    int offers = 0;
    EXPECT_TRUE(runMarkerScan(*window_, {"Current Title: Radio", "Cookie: "}, [&] { ++offers; }));
    EXPECT_FALSE(window_->markerFound);
    EXPECT_EQ(offers, 0);
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(connection(), QStringLiteral("Not connected"));
}

TEST_F(WindowTest, MarkerSeenEarlierStillShowsThePanel) {
    createWindow().show();
    window_->markerFound = true;
    EXPECT_TRUE(runMarkerScan(*window_, {}, [] {}));
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(connection(), QStringLiteral("Connected"));
}

}  // namespace
