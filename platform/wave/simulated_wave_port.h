#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/wave/simulated_wave_driver.h"
#include "platform/wave/wave_port.h"

namespace platform {

// What a simulated device shares with the streams opened on it.
struct SimulatedWaveDriver::Device {
    WaveDirection direction;
    SimulatedDeviceConfig config;
    std::atomic<bool> removed{false};
    std::atomic<bool> inUse{false};
    mutable std::mutex playedMutex;
    std::vector<PlayedBuffer> played;
};

// Moves one buffer at a time at the format's byte rate on the platform clock:
// capture renders the device's signal, playback keeps what it played.
class SimulatedWavePort final : public WavePort {
  public:
    SimulatedWavePort(std::shared_ptr<SimulatedWaveDriver::Device> device, WaveFormat format);
    ~SimulatedWavePort() override;

    Event begin() override;
    Transfer transfer(std::uint8_t* data, std::size_t bytes) override;
    void halt() override;
    bool recover() override { return true; }
    bool alive() override { return !device_->removed; }
    void wake() override;

  private:
    void render(std::uint8_t* data, std::size_t frames);

    const std::shared_ptr<SimulatedWaveDriver::Device> device_;
    const WaveFormat format_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wakeRequested_ = false;
    PlatformClock::time_point nextDue_{};
    bool flowing_ = false;
    std::uint64_t frame_ = 0;
};

}  // namespace platform
