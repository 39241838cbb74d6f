#pragma once

#include <cstdint>
#include <vector>

#include "audio/format/wave_format.h"

// The header of a WAV file with one "fmt " and one "data" chunk:
// "RIFF", size, "WAVE", "fmt ", f, the first f bytes of the format record,
// "data", size. f is 16 for PCM, 18 + cbSize otherwise; so a PCM header is
// 44 bytes and the audio starts right after it.

// Bytes before the first audio byte.
std::uint32_t riffHeaderSize(const WAVEFORMATEX& format);

// The header for dataBytes of audio: RIFF size header size - 8 + dataBytes.
// Nothing pads an odd data size; the data chunk is the last one.
std::vector<std::uint8_t> buildRiffHeader(const WAVEFORMATEX& format, std::uint32_t dataBytes);

// The most audio a header can describe: the RIFF size must stay within 32
// bits. Rounded down to whole sample frames.
std::uint32_t riffDataLimit(const WAVEFORMATEX& format);
