#pragma once

#include <memory>

#include "audio/device/stream_device.h"
#include "audio/format/wave_format.h"
#include "audio/wave/wave_header.h"
#include "platform/wave/wave_driver.h"

// The common base of the nodes that handle waveform data chunk by chunk: the
// identity of a system device and the worker loop that services completed
// buffers strictly in the order they were armed.
class unaWaveDevice : public unaMsAcmStreamDevice {
  public:
    // Capture-type devices (isInput) own an output stream, playback-type
    // devices an input stream; overflowLimit bounds both. Metering starts off.
    unaWaveDevice(int deviceId, bool mapped, bool direct, bool isInput, unsigned overflowLimit);

    // Applies the format to the main side.
    bool setFormat(const WAVEFORMATEX& format);
    bool setPcmSampling(unsigned samplesPerSec, unsigned bitsPerSample, unsigned channels);
    bool setPcmSampling(const PcmSampling& sampling);

    // Flags 0 become the event callback plus the mapped, direct and query bits.
    MMRESULT open(bool query = false, int timeoutMs = 10000, unsigned flags = 0) override;

    int deviceId = -1;
    bool mapped = false;
    bool direct = false;

  protected:
    // Hands a prepared header to the system device.
    virtual MMRESULT queueHeader(unaWaveHeader* header) = 0;
    // The worker's step for one completed header, or for none.
    virtual bool serviceHeader(unaWaveHeader* header, bool signalled) {
        (void)header;
        (void)signalled;
        return true;
    }
    int execute(unsigned recordIndex) override;
};

// The base of the devices that talk to a sound card through the platform's
// waveform-audio layer: the open stream, its completion callback and the
// buffer calls. The driver signals deviceEvent once per returned buffer.
class unaWaveSystemDevice : public unaWaveDevice {
  public:
    unaWaveSystemDevice(platform::WaveDirection direction, int deviceId, bool mapped, bool direct,
                        unsigned overflowLimit);
    ~unaWaveSystemDevice() override;

    std::string getErrorText(MMRESULT code) const override;
    int64_t getPosition() const override;
    MMRESULT prepareHeader(unaMsAcmDeviceHeader* header) override;
    MMRESULT unprepareHeader(unaMsAcmDeviceHeader* header) override;

    // The code that halted the open stream (device lost), 0 while it runs.
    MMRESULT streamStatus() const;
    uint64_t xrunCount() const;
    const platform::WaveDeviceCaps& caps() const { return caps_; }

    static int getDeviceCount(platform::WaveDirection direction);
    static bool queryDeviceCaps(platform::WaveDirection direction, int deviceId,
                                platform::WaveDeviceCaps& caps);

  protected:
    MMRESULT doOpen(unsigned flags) override;
    MMRESULT doClose(int timeoutMs) override;
    MMRESULT queueHeader(unaWaveHeader* header) override;
    bool backendMayTouchHeaders() const override;
    void onWorkerStart() override;
    platform::WaveStream* stream() const { return stream_.get(); }
    // Asks the user for a format through the installed chooser; on success
    // the format becomes this device's.
    MMRESULT chooseFormatFor(FormatPtr& format, const std::string& title, uint32_t enumFlags);

  private:
    platform::WaveDirection direction_;
    platform::WaveDeviceCaps caps_;
    std::unique_ptr<platform::WaveStream> stream_;
    std::atomic<bool> streamReset_{true};

    friend class unaWaveInDevice;
    friend class unaWaveOutDevice;
};
