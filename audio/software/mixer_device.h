#pragma once

#include <cstdint>
#include <vector>

#include "audio/software/multi_stream_device.h"

// Reads one chunk from every stream per wake-up, adds them sample by sample
// with saturation (no scaling: n streams sum at full level) and delivers the
// sum as one chunk. With addSilence a short or empty stream is padded with
// silence; without it a short stream drops the whole chunk.
class unaWaveMixerDevice : public unaWaveMultiStreamDevice {
  public:
    using unaWaveMultiStreamDevice::unaWaveMultiStreamDevice;
    ~unaWaveMixerDevice() override;

  protected:
    bool serviceHeader(unaWaveHeader* header, bool signalled) override;

  private:
    // Bytes mixed into the accumulator, 0 when no chunk comes out.
    unsigned mixOneChunk();

    // Reused across wake-ups; they only grow.
    std::vector<std::uint8_t> accumulator_;
    std::vector<std::uint8_t> scratch_;
};
