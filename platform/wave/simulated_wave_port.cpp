#include "platform/wave/simulated_wave_port.h"

#include <algorithm>

namespace platform {
namespace {

using namespace std::chrono_literals;

// A card's ring hides gaps shorter than this much real time; longer ones are
// xruns. Real time, so that a sped-up test rides out a busy machine.
constexpr auto kRingLength = 250ms;

}  // namespace

SimulatedWavePort::SimulatedWavePort(std::shared_ptr<SimulatedWaveDriver::Device> device,
                                     WaveFormat format)
    : device_(std::move(device)), format_(format) {}

SimulatedWavePort::~SimulatedWavePort() {
    device_->inUse = false;
}

WavePort::Event SimulatedWavePort::begin() {
    std::lock_guard lock(mutex_);
    nextDue_ = PlatformClock::now();
    flowing_ = false;
    return device_->removed ? Event::lost : Event::none;
}

void SimulatedWavePort::halt() {
    std::lock_guard lock(mutex_);
    flowing_ = false;
}

void SimulatedWavePort::wake() {
    std::lock_guard lock(mutex_);
    wakeRequested_ = true;
    woken_.notify_all();
}

WavePort::Transfer SimulatedWavePort::transfer(std::uint8_t* data, std::size_t bytes) {
    std::unique_lock lock(mutex_);
    if (device_->removed) {
        return {0, Event::lost};
    }
    Transfer result;
    auto start = flowing_ ? nextDue_ : PlatformClock::now();
    const auto now = PlatformClock::now();
    const auto ring =
        std::chrono::duration_cast<PlatformClock::duration>(kRingLength * PlatformClock::speedUp());
    if (flowing_ && now > nextDue_ + ring) {
        // The card ran dry (playback) or overflowed (capture): frames are lost.
        result.event = Event::xrun;
        if (format_.samplesPerSec > 0 && device_->direction == WaveDirection::capture) {
            frame_ += static_cast<std::uint64_t>(
                std::chrono::duration<double>(now - nextDue_).count() * format_.samplesPerSec);
        }
        start = now;
    }
    const double skew = 1.0 + device_->config.skewPpm * 1e-6;
    const double seconds = static_cast<double>(bytes) / format_.bytesPerSecond() / skew;
    const auto end = start + std::chrono::duration_cast<PlatformClock::duration>(
                                 std::chrono::duration<double>(seconds));
    const bool interrupted =
        PlatformClock::waitUntil(woken_, lock, end, [&] { return wakeRequested_; });
    wakeRequested_ = false;
    if (device_->removed) {
        return {0, Event::lost};
    }
    if (interrupted) {
        return result;
    }
    if (device_->direction == WaveDirection::capture) {
        render(data, bytes / format_.blockAlign());
    } else {
        std::lock_guard playedLock(device_->playedMutex);
        device_->played.push_back(
            {start, end, format_, std::vector<std::uint8_t>(data, data + bytes)});
    }
    nextDue_ = end;
    flowing_ = true;
    result.bytes = bytes;
    return result;
}

void SimulatedWavePort::render(std::uint8_t* data, std::size_t frames) {
    const auto& signal = *device_->config.signal;
    for (std::size_t f = 0; f < frames; ++f, ++frame_) {
        for (unsigned c = 0; c < format_.channels; ++c) {
            const std::int16_t value = signal.sample(frame_, c, format_.samplesPerSec);
            if (format_.bitsPerSample == 8) {
                *data++ = static_cast<std::uint8_t>((value >> 8) + 128);
            } else {
                *data++ = static_cast<std::uint8_t>(value & 0xFF);
                *data++ = static_cast<std::uint8_t>((value >> 8) & 0xFF);
            }
        }
    }
}

}  // namespace platform
