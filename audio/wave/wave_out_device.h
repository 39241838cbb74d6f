#pragma once

#include <atomic>
#include <functional>

#include "audio/wave/wave_device.h"

// Plays the chunks its providers write into its input stream. Playback starts
// only when two chunks are waiting, the queue at the driver is topped up to
// three buffers when data allows and never holds more than four; every service
// step that finds nothing queued and too little to play counts as an underrun.
class unaWaveOutDevice : public unaWaveSystemDevice {
  public:
    static constexpr int kMinQueue = 2;
    static constexpr int kMaxQueue = 4;

    using BufferHandler = std::function<void(unaWaveOutDevice& sender, const void* data, int size)>;

    explicit unaWaveOutDevice(int deviceId = platform::WAVE_MAPPER, bool mapped = false,
                              bool direct = false, unsigned overflowLimit = 10);
    ~unaWaveOutDevice() override;

    static int getDeviceCount() {
        return unaWaveSystemDevice::getDeviceCount(platform::WaveDirection::playback);
    }
    static bool queryDeviceCaps(int deviceId, platform::WaveDeviceCaps& caps) {
        return unaWaveSystemDevice::queryDeviceCaps(platform::WaveDirection::playback, deviceId,
                                                    caps);
    }
    MMRESULT chooseFormat(FormatPtr& format, const std::string& title = {});

    bool formatIsSource() const override { return true; }
    std::string getErrorText(MMRESULT code) const override;
    uint64_t underrunCount() const { return underruns_.load(); }

    // Raised on the worker after a buffer went to the driver (size: bytes read into it).
    void setOnChunkQueued(BufferHandler handler) { onChunkQueued_ = std::move(handler); }
    // Raised on the worker for every completed buffer serviced.
    void setOnChunkPlayed(BufferHandler handler) { onChunkPlayed_ = std::move(handler); }

  protected:
    MMRESULT doOpen(unsigned flags) override;
    void onWorkerEnd() override;
    MMRESULT afterOpen() override;
    // Drops queued input down to one chunk so a close does not wait for it.
    bool flush(bool wait) override;
    bool serviceHeader(unaWaveHeader* header, bool signalled) override;

  private:
    unaWaveHeader* reusableHeader(unaWaveHeader* given);

    std::atomic<uint64_t> underruns_{0};
    BufferHandler onChunkQueued_, onChunkPlayed_;
};
