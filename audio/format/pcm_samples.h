#pragma once

#include <cstdint>

// Single samples of interleaved little-endian PCM. 16-bit samples are read as
// they are; 8-bit samples are moved onto the 16-bit scale ((byte - 128) x 256)
// so levels compare across widths. Every other width is carried as a raw
// 32-bit word (4 bytes); 24-bit data is not supported.

// Reads one sample at `position` and moves it past the sample.
std::int32_t readSample(unsigned bitsPerSample, const std::uint8_t*& position);

// Writes one sample at `position` and moves it past the sample: 16 bits
// saturate to -32768..32767; 8 bits store (value >> 8) + 128, saturated to 0..255.
void writeSample(std::int32_t value, unsigned bitsPerSample, std::uint8_t*& position);

// Root-mean-square of one channel over `samplesPerChannel` frames, rounded to
// the nearest integer. With `delta`, each term is the difference to the
// channel's previous sample (the one before the first counts as 0). 0 when
// there are no samples, no channels, no bits or `channel` >= `channels`.
// The caller guarantees `data` holds the frames. On 8/16-bit data 0..32768.
std::uint32_t channelLevel(const void* data, std::uint32_t samplesPerChannel,
                           unsigned bitsPerSample, unsigned channels, unsigned channel,
                           bool delta = false);

// Meter position 0..300 (100 per factor of ten above level 32): 0 below 32
// and for 0xFFFFFFFF, 300 from 32768 up, else round(100 x log10(level / 32)).
// 32767 gives 301: callers' meters stop at 300.
int levelToLog(std::uint32_t level);
