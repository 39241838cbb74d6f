#pragma once

#include <memory>
#include <string>

#include "platform/wave/wave_port.h"

typedef struct _snd_pcm snd_pcm_t;

namespace platform {

// One ALSA PCM, opened non-blocking, with a period of one 40 ms chunk. Data
// moves in poll() waits of at most 100 ms that an eventfd can cut short, so the
// driver thread never blocks in snd_pcm_writei/readi and can always be stopped.
class AlsaWavePort final : public WavePort {
  public:
    struct OpenOutcome {
        MmResult result = MMSYSERR_NOERROR;
        std::string reason;  // ALSA's own words when it failed
    };

    // Opens `pcmName` for the format; with queryOnly, checks and closes again.
    static OpenOutcome open(const std::string& pcmName, WaveDirection direction,
                            const WaveFormat& format, bool queryOnly,
                            std::unique_ptr<AlsaWavePort>& port);
    ~AlsaWavePort() override;

    Event begin() override;
    Transfer transfer(std::uint8_t* data, std::size_t bytes) override;
    void halt() override;
    bool recover() override;
    bool alive() override;
    void wake() override;
    std::uint64_t unplayedFrames() override;

  private:
    AlsaWavePort(snd_pcm_t* pcm, WaveDirection direction, const WaveFormat& format, int wakeFd,
                 std::uint64_t ringFrames);
    Event eventFor(int error);
    // poll() on the device and the wake-up fd; an event when the device failed.
    Transfer waitForDevice();

    snd_pcm_t* const pcm_;
    const WaveDirection direction_;
    const WaveFormat format_;
    const int wakeFd_;
    const std::uint64_t ringFrames_;
    int lastError_ = 0;
    int quietPolls_ = 0;
    bool priorityRaised_ = false;
    bool waitFirst_ = false;
};

}  // namespace platform
