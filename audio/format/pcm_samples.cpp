#include "audio/format/pcm_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

std::int32_t readSample(unsigned bitsPerSample, const std::uint8_t*& position) {
    switch (bitsPerSample) {
        case 8:
            return (std::int32_t{*position++} - 128) * 256;
        case 16: {
            std::int16_t sample;
            std::memcpy(&sample, position, sizeof sample);
            position += sizeof sample;
            return sample;
        }
        default: {
            std::int32_t word;
            std::memcpy(&word, position, sizeof word);
            position += sizeof word;
            return word;
        }
    }
}

void writeSample(std::int32_t value, unsigned bitsPerSample, std::uint8_t*& position) {
    switch (bitsPerSample) {
        case 8:
            *position++ = static_cast<std::uint8_t>(std::clamp((value >> 8) + 128, 0, 255));
            break;
        case 16: {
            const auto sample = static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
            std::memcpy(position, &sample, sizeof sample);
            position += sizeof sample;
            break;
        }
        default:
            std::memcpy(position, &value, sizeof value);
            position += sizeof value;
            break;
    }
}

std::uint32_t channelLevel(const void* data, std::uint32_t samplesPerChannel,
                           unsigned bitsPerSample, unsigned channels, unsigned channel,
                           bool delta) {
    if (data == nullptr || samplesPerChannel == 0 || channels == 0 || channel >= channels ||
        bitsPerSample == 0) {
        return 0;
    }
    const auto* position = static_cast<const std::uint8_t*>(data) + (channel * bitsPerSample) / 8;
    const std::size_t skip = (std::size_t{channels - 1} * bitsPerSample) / 8;
    // 128 bits: 32-bit words (and their differences) would overflow 64.
    unsigned __int128 sumOfSquares = 0;
    std::int64_t previous = 0;
    for (std::uint32_t i = 0; i < samplesPerChannel; ++i) {
        if (i > 0) {
            position += skip;  // the other channels of the frame
        }
        const std::int64_t sample = readSample(bitsPerSample, position);
        const std::uint64_t term = delta ? static_cast<std::uint64_t>(std::llabs(sample - previous))
                                         : static_cast<std::uint64_t>(std::llabs(sample));
        sumOfSquares += static_cast<unsigned __int128>(term) * term;
        previous = sample;
    }
    const long double mean = static_cast<long double>(sumOfSquares) / samplesPerChannel;
    return static_cast<std::uint32_t>(std::llroundl(std::sqrt(mean)));
}

int levelToLog(std::uint32_t level) {
    if (level == 0xFFFFFFFFu) {
        return 0;
    }
    if (level >= 32768) {
        return 300;
    }
    if (level < 32) {
        return 0;
    }
    return static_cast<int>(std::lround(100.0 * std::log10(level / 32.0)));
}
