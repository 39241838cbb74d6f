#include <gtest/gtest.h>

#include "app/captions/caption_tables.h"

namespace {

using captions::bannerLineIndex;
using captions::nextBannerPhase;

qsizetype lineAfter(int steps) {
    unsigned phase = 0;
    for (int i = 0; i < steps; ++i) {
        phase = nextBannerPhase(phase);
    }
    return bannerLineIndex(phase);
}

TEST(BannerStep, LinesChangeAfterAboutFortyThreeStepsAndRepeatAfterThreeHundredFortyTwo) {
    struct Case {
        int steps;
        qsizetype line;
    };
    for (const Case& c : {Case{1, 0}, Case{42, 0}, Case{43, 1}, Case{85, 1}, Case{86, 2},
                          Case{341, 7}, Case{342, 0}, Case{385, 1}}) {
        EXPECT_EQ(lineAfter(c.steps), c.line) << c.steps << " steps";
    }
}

TEST(BannerStep, PhaseWrapsAroundWithoutLeavingTheEightLines) {
    unsigned phase = 0xFFFFFFFEu;
    phase = nextBannerPhase(phase);
    EXPECT_EQ(phase, 1u);
    EXPECT_EQ(bannerLineIndex(phase), 0);
    EXPECT_EQ(bannerLineIndex(0xFFFFFFFFu), 7);
}

}  // namespace
