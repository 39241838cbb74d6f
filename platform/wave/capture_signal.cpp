#include "platform/wave/capture_signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform {
namespace {

class Silence final : public CaptureSignal {
  public:
    std::int16_t sample(std::uint64_t, unsigned, std::uint32_t) const override { return 0; }
};

class Sine final : public CaptureSignal {
  public:
    Sine(double frequency, std::int16_t amplitude) : frequency_(frequency), amplitude_(amplitude) {}
    std::int16_t sample(std::uint64_t frame, unsigned, std::uint32_t rate) const override {
        const double phase = 2.0 * std::numbers::pi * frequency_ *
                             (static_cast<double>(frame) / static_cast<double>(rate));
        return static_cast<std::int16_t>(std::lround(amplitude_ * std::sin(phase)));
    }

  private:
    double frequency_;
    std::int16_t amplitude_;
};

class ClickTrain final : public CaptureSignal {
  public:
    ClickTrain(std::vector<PlatformClock::duration> at, std::int16_t amplitude, unsigned length)
        : at_(std::move(at)), amplitude_(amplitude), length_(length) {
        std::sort(at_.begin(), at_.end());
    }
    std::int16_t sample(std::uint64_t frame, unsigned, std::uint32_t rate) const override {
        // The last click that starts at or before this frame.
        const auto t = std::chrono::nanoseconds(
            static_cast<std::int64_t>(static_cast<double>(frame) * 1e9 / rate));
        auto it = std::upper_bound(at_.begin(), at_.end(), t);
        if (it == at_.begin()) {
            return 0;
        }
        const auto start = static_cast<std::uint64_t>(
            std::ceil(std::chrono::duration<double>(*std::prev(it)).count() * rate));
        return frame >= start && frame < start + length_ ? amplitude_ : 0;
    }

  private:
    std::vector<PlatformClock::duration> at_;
    std::int16_t amplitude_;
    unsigned length_;
};

class WavSignal final : public CaptureSignal {
  public:
    explicit WavSignal(WavContents contents) : contents_(std::move(contents)) {}
    std::int16_t sample(std::uint64_t frame, unsigned channel, std::uint32_t) const override {
        const unsigned channels = std::max<unsigned>(1, contents_.format.channels);
        const std::uint64_t index = frame * channels + std::min(channel, channels - 1);
        return index < contents_.samples.size() ? contents_.samples[index] : 0;
    }

  private:
    WavContents contents_;
};

}  // namespace

std::shared_ptr<CaptureSignal> makeSilence() {
    return std::make_shared<Silence>();
}

std::shared_ptr<CaptureSignal> makeSine(double frequencyHz, std::int16_t amplitude) {
    return std::make_shared<Sine>(frequencyHz, amplitude);
}

std::shared_ptr<CaptureSignal> makeClickTrain(std::vector<PlatformClock::duration> at,
                                              std::int16_t amplitude, unsigned clickFrames) {
    return std::make_shared<ClickTrain>(std::move(at), amplitude, clickFrames);
}

std::shared_ptr<CaptureSignal> makeWavSignal(WavContents contents) {
    return std::make_shared<WavSignal>(std::move(contents));
}

}  // namespace platform
