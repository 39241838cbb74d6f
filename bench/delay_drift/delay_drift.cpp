// One hour of the delay road, sped up, with the capture card 100 ppm fast and
// the playback card 100 ppm slow. Prints the heard delay every five minutes,
// the playback underruns and dropped bytes.
#include <cstdio>
#include <cstdlib>

#include "delay_road.h"

int main(int argc, char** argv) {
    DelayRoadParams params;
    params.playback = {22050, 16, 1};  // keeps the recorded hour small
    params.delaySeconds = 2.0;
    params.durationSeconds = argc > 1 ? std::atof(argv[1]) : 3600.0;
    params.clickPeriodSeconds = 1.0;
    params.captureSkewPpm = 100.0;
    params.playbackSkewPpm = -100.0;
    params.speedUp = argc > 2 ? std::atof(argv[2]) : 50.0;
    const DelayRoadResult r = runDelayRoad(params);

    std::printf("clicks sent %d, heard %zu\n", r.clicksSent, r.heardDelays.size());
    for (size_t i = 0; i < r.heardDelays.size(); i += 300) {
        std::printf("  t = %6.0f s  heard delay %.3f s\n", r.clickTimes[i], r.heardDelays[i]);
    }
    if (!r.heardDelays.empty()) {
        std::printf("  last click    heard delay %.3f s\n", r.heardDelays.back());
    }
    std::printf("playback underruns %llu, playback overflow bytes %lld\n",
                static_cast<unsigned long long>(r.playbackUnderruns),
                static_cast<long long>(r.playbackOverflowBytes));
    std::printf("captured %.1f s, played %.1f s\n", r.captureBytes / 176400.0,
                r.playedBytes / 44100.0);
    return 0;
}
