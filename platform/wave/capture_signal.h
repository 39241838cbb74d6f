#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock/platform_clock.h"
#include "platform/wave/wav_reader.h"

namespace platform {

// What a simulated capture device hears. Frame 0 is the first frame captured
// after the stream starts; samples are on the 16-bit scale.
class CaptureSignal {
  public:
    virtual ~CaptureSignal() = default;
    virtual std::int16_t sample(std::uint64_t frame, unsigned channel,
                                std::uint32_t samplesPerSec) const = 0;
};

std::shared_ptr<CaptureSignal> makeSilence();
std::shared_ptr<CaptureSignal> makeSine(double frequencyHz, std::int16_t amplitude);
// Clicks of `clickFrames` frames at `amplitude`, starting at the given offsets
// from the first captured frame.
std::shared_ptr<CaptureSignal> makeClickTrain(std::vector<PlatformClock::duration> at,
                                              std::int16_t amplitude = 30000,
                                              unsigned clickFrames = 8);
// Plays the file's samples once (at the stream's rate), then silence.
std::shared_ptr<CaptureSignal> makeWavSignal(WavContents contents);

}  // namespace platform
