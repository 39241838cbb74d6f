#pragma once

#include "audio/wave/wave_device.h"

// Records from a sound-card input and hands every filled buffer, as one
// chunk, to its consumers and its onChunkReady handler. Five buffers of one
// chunk each stay queued at the driver.
class unaWaveInDevice : public unaWaveSystemDevice {
  public:
    static constexpr int kQueuedBuffers = 5;

    explicit unaWaveInDevice(int deviceId = platform::WAVE_MAPPER, bool mapped = false,
                             bool direct = false, unsigned overflowLimit = 0);
    ~unaWaveInDevice() override;

    static int getDeviceCount() {
        return unaWaveSystemDevice::getDeviceCount(platform::WaveDirection::capture);
    }
    static bool queryDeviceCaps(int deviceId, platform::WaveDeviceCaps& caps) {
        return unaWaveSystemDevice::queryDeviceCaps(platform::WaveDirection::capture, deviceId,
                                                    caps);
    }
    // Lets the user pick a recording format; on success it becomes this device's.
    MMRESULT chooseFormat(FormatPtr& format, const std::string& title = {});

    bool formatIsSource() const override { return false; }

  protected:
    void onWorkerEnd() override;
    MMRESULT afterOpen() override;
    bool serviceHeader(unaWaveHeader* header, bool signalled) override;

  private:
    // Re-arms and queues the header (a new one when none is given) and tops
    // the queue up to five. True when this header was queued.
    bool addHeaders(unaWaveHeader* header);
};
