#pragma once

#include <cstdint>
#include <vector>

#include "audio/format/wave_format.h"

// The delay path of the program without any window, on simulated sound
// cards: capture (a click train) -> resampler -> a stream made by the mixer ->
// the real-time mixer, opened `delay` later -> playback.
struct DelayRoadParams {
    PcmSampling capture{44100, 16, 2};
    PcmSampling playback{48000, 16, 1};
    double delaySeconds = 1.0;
    double durationSeconds = 20.0;  // of captured audio
    double clickPeriodSeconds = 0.5;
    double captureSkewPpm = 0.0;
    double playbackSkewPpm = 0.0;
    double speedUp = 1.0;  // platform clock speed-up
};

struct DelayRoadResult {
    int clicksSent = 0;               // clicks that had time to be heard
    std::vector<double> clickTimes;   // captured, seconds after capture start
    std::vector<double> heardDelays;  // seconds, one per click heard, in order
    uint64_t playbackUnderruns = 0;
    int64_t playbackOverflowBytes = 0;
    int64_t captureBytes = 0;
    int64_t playedBytes = 0;
};

DelayRoadResult runDelayRoad(const DelayRoadParams& params);
