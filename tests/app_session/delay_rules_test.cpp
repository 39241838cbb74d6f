#include <gtest/gtest.h>

#include "app/session/delay_rules.h"

namespace {

TEST(DelayRules, EditExitTable) {
    struct Case {
        double typed;
        double seconds;
        int sliderMax;
        int sliderValue;
    };
    const Case cases[] = {
        {0, 0.05, 80, 2},         {700, 600, 6000, 6000}, {12.5, 12.5, 125, 126},
        {8, 8, 80, 80},           {8.01, 8.01, 80, 81},   {1, 1, 80, 10},
        {2.3, 2.3, 80, 24},       {2.35, 2.35, 80, 24},   {-3, 0.05, 80, 2},
        {1.23456, 1.235, 80, 13},
    };
    for (const Case& c : cases) {
        const auto r = delay_rules::onEditExit(c.typed);
        EXPECT_DOUBLE_EQ(r.seconds, c.seconds) << c.typed;
        EXPECT_EQ(r.sliderMax, c.sliderMax) << c.typed;
        EXPECT_EQ(r.sliderValue, c.sliderValue) << c.typed;
    }
}

TEST(DelayRules, CountdownAndMilliseconds) {
    EXPECT_EQ(delay_rules::countdownStart(2.35), 2);
    EXPECT_EQ(delay_rules::countdownStart(0.5), 0);  // halves go to the even neighbour
    EXPECT_EQ(delay_rules::countdownStart(1.5), 2);
    EXPECT_EQ(delay_rules::delayMilliseconds(2.35), 2350);
    EXPECT_EQ(delay_rules::delayMilliseconds(0), 50);
    EXPECT_DOUBLE_EQ(delay_rules::editValue(0.004), 0.0);  // the stored default 4 ms
    EXPECT_DOUBLE_EQ(delay_rules::onEditExit(delay_rules::editValue(0.004)).seconds, 0.05);
}

}  // namespace
