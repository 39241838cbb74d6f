#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wave/alsa_device_list.h"
#include "platform/wave/wave_driver.h"

namespace platform {

// Waveform audio on ALSA. Index -1 is ALSA's "default" PCM (on a desktop the
// sound server); 0.. are the card devices and the sound-server PCMs, capture
// and playback listed apart. The lists are read again by every deviceCount().
class AlsaWaveDriver final : public WaveDriver {
  public:
    // extraNames: hinted PCMs listed besides the card devices.
    explicit AlsaWaveDriver(std::vector<std::string> extraNames = {"pulse", "pipewire"});

    std::string name() const override { return "alsa"; }
    int deviceCount(WaveDirection direction) override;
    MmResult deviceCaps(WaveDirection direction, int deviceId, WaveDeviceCaps& caps) override;
    MmResult open(const WaveOpenRequest& request, std::unique_ptr<WaveStream>& stream) override;
    // Adds ALSA's reason for the last failure with this code.
    std::string errorText(MmResult code) const override;

  private:
    // The PCM name for a device index, or empty with the result that says why.
    std::string pcmNameFor(WaveDirection direction, int deviceId, bool direct, MmResult& result);
    const std::vector<AlsaDeviceEntry>& listFor(WaveDirection direction);

    const std::vector<std::string> extraNames_;
    mutable std::mutex mutex_;
    bool scanned_[2] = {false, false};
    std::vector<AlsaDeviceEntry> lists_[2];
    std::map<MmResult, std::string> reasons_;
};

std::shared_ptr<WaveDriver> makeAlsaWaveDriver();

}  // namespace platform
