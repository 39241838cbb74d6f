#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wave/wave_types.h"

namespace platform {

// A PCM WAV file read whole: 8-bit samples are brought to the 16-bit scale.
struct WavContents {
    WaveFormat format;
    std::vector<std::int16_t> samples;  // interleaved
};

// Reads a RIFF/WAVE file with 8- or 16-bit PCM data. On failure returns false
// and says why in `error`.
bool readWavFile(const std::string& path, WavContents& contents, std::string& error);

}  // namespace platform
