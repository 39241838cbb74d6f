#include "audio/software/mix_buffers.h"

#include <cstdint>

#include "audio/format/pcm_samples.h"

void mixBuffers(const void* a, const void* b, void* out, unsigned samplesPerChannel, unsigned bitsA,
                unsigned bitsB, unsigned bitsOut, bool add, unsigned channels) {
    auto* pa = static_cast<const std::uint8_t*>(a);
    auto* pb = static_cast<const std::uint8_t*>(b);
    auto* po = static_cast<std::uint8_t*>(out);
    const std::uint64_t samples = std::uint64_t(samplesPerChannel) * channels;
    for (std::uint64_t i = 0; i < samples; ++i) {
        const std::int64_t x = readSample(bitsA, pa);
        const std::int64_t y = readSample(bitsB, pb);
        const std::int64_t sum = add ? x + y : x - y;
        // Wider than any sample: clamp to 32 bits, the sample writer saturates the rest.
        const std::int64_t clamped =
            sum > INT32_MAX ? INT32_MAX : (sum < INT32_MIN ? INT32_MIN : sum);
        writeSample(std::int32_t(clamped), bitsOut, po);
    }
}
