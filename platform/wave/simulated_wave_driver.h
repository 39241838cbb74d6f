#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/clock/platform_clock.h"
#include "platform/wave/capture_signal.h"
#include "platform/wave/wave_driver.h"
#include "platform/wave/wave_port.h"

namespace platform {

// One buffer as a simulated playback device played it.
struct PlayedBuffer {
    PlatformClock::time_point start;  // when its first frame was heard
    PlatformClock::time_point end;
    WaveFormat format;
    std::vector<std::uint8_t> data;
};

struct SimulatedDeviceConfig {
    std::string name = "Simulated device";
    std::shared_ptr<CaptureSignal> signal;   // capture only; silence when empty
    double skewPpm = 0.0;                    // the device's clock runs this much fast
    std::uint32_t support = 0;               // WAVECAPS_* reported for playback
    std::vector<std::uint32_t> rates;        // accepted rates; empty: any
    MmResult openResult = MMSYSERR_NOERROR;  // open fails with this code
    WaveStreamFaults faults;
};

// Sound cards for tests and for machines without one. Devices pace their data
// at the format's byte rate by the platform clock (so a sped-up clock speeds
// them up), one open stream per device (a second open is MMSYSERR_ALLOCATED).
// The mapper (-1) is device 0 of each direction.
class SimulatedWaveDriver final : public WaveDriver {
  public:
    SimulatedWaveDriver();
    ~SimulatedWaveDriver() override;

    int addDevice(WaveDirection direction, SimulatedDeviceConfig config);
    // Unplugs a device: its open stream halts with MMSYSERR_NODRIVER and new
    // opens fail with that code. The index stays taken.
    void removeDevice(WaveDirection direction, int deviceId);
    // What a playback device played so far, in order.
    std::vector<PlayedBuffer> played(int deviceId) const;

    std::string name() const override { return "simulated"; }
    int deviceCount(WaveDirection direction) override;
    MmResult deviceCaps(WaveDirection direction, int deviceId, WaveDeviceCaps& caps) override;
    MmResult open(const WaveOpenRequest& request, std::unique_ptr<WaveStream>& stream) override;

    struct Device;

  private:
    std::shared_ptr<Device> find(WaveDirection direction, int deviceId, MmResult& result) const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Device>> capture_;
    std::vector<std::shared_ptr<Device>> playback_;
};

}  // namespace platform
