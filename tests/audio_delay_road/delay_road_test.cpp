#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>

#include "delay_road.h"

namespace {

// Clicks go in at the radio and come out at the tv one delay later, each once.
TEST(DelayRoad, ClicksAreHeardOneDelayLaterNoneLostNoneDoubled) {
    struct Case {
        PcmSampling playback;
        double delay;
    };
    for (const Case& c : {Case{{48000, 16, 1}, 2.0}, Case{{44100, 16, 2}, 1.0}}) {
        DelayRoadParams params;
        params.playback = c.playback;
        params.delaySeconds = c.delay;
        params.durationSeconds = 20.0;
        params.speedUp = 4.0;  // gentle: the machine may be busy
        const DelayRoadResult r = runDelayRoad(params);
        std::string heard;
        for (double d : r.heardDelays) {
            heard += std::to_string(d) + " ";
        }
        ASSERT_EQ(int(r.heardDelays.size()), r.clicksSent)
            << c.playback.samplesPerSec << " Hz; heard delays: " << heard
            << "; underruns: " << r.playbackUnderruns << ", played bytes: " << r.playedBytes;
        const auto [low, high] = std::minmax_element(r.heardDelays.begin(), r.heardDelays.end());
        const double mean =
            std::accumulate(r.heardDelays.begin(), r.heardDelays.end(), 0.0) / r.heardDelays.size();
        std::printf("delay %.2f s -> heard %.3f s mean (%.3f .. %.3f), device buffering %.0f ms\n",
                    c.delay, mean, *low, *high, (mean - c.delay) * 1000);
        EXPECT_GE(*low, c.delay);
        EXPECT_LE(*high, c.delay + 0.5);
        EXPECT_LT(*high - *low, 0.1) << "the delay must not wander";
    }
}

}  // namespace
