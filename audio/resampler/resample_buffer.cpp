#include "audio/resampler/resample_buffer.h"

#include <cmath>
#include <cstring>

#include "audio/format/pcm_samples.h"

namespace {

bool supportedWidth(std::uint32_t bits) {
    return bits == 8 || bits == 16 || bits == 32;
}

// Writes one destination frame from the source frame at `frame`: each group of
// source channels worth one destination channel is averaged (truncating) and
// written as often as its weight says.
void emitFrame(const std::uint8_t* frame, std::uint32_t srcChannels, std::uint32_t srcBits,
               std::uint32_t dstBits, std::uint32_t channelStep, std::uint8_t*& out) {
    std::int64_t sum = 0;
    std::int64_t n = 0;
    std::uint32_t acc = 0;
    const std::uint8_t* in = frame;
    for (std::uint32_t c = 0; c < srcChannels; ++c) {
        sum += readSample(srcBits, in);
        ++n;
        acc += channelStep;
        if (acc >= 100) {
            const auto value = std::int32_t(n == 1 ? sum : sum / n);
            for (std::uint32_t k = acc / 100; k > 0; --k) {
                writeSample(value, dstBits, out);
            }
            sum = 0;
            n = 0;
            acc = 0;
        }
    }
}

}  // namespace

std::uint32_t resampleBuffer(const void* src, void* dst, std::uint32_t srcFrames,
                             std::uint32_t srcChannels, std::uint32_t dstChannels,
                             std::uint32_t srcBits, std::uint32_t dstBits, std::uint32_t srcRate,
                             std::uint32_t dstRate, std::uint32_t dstCapacity) {
    if (src == nullptr || dst == nullptr || srcFrames == 0 || srcChannels == 0 ||
        dstChannels == 0 || srcRate == 0 || dstRate == 0 || !supportedWidth(srcBits) ||
        !supportedWidth(dstBits)) {
        return 0;
    }
    const std::uint64_t srcFrameBytes = std::uint64_t(srcChannels) * srcBits / 8;
    const std::uint64_t dstFrameBytes = std::uint64_t(dstChannels) * dstBits / 8;
    const std::uint64_t capacityFrames = dstCapacity / dstFrameBytes;

    if (srcRate == dstRate && srcChannels == dstChannels && srcBits == dstBits) {
        const std::uint64_t frames = srcFrames < capacityFrames ? srcFrames : capacityFrames;
        const std::uint64_t bytes = frames * srcFrameBytes;
        if (src != dst) {
            std::memmove(dst, src, bytes);
        }
        return std::uint32_t(bytes);
    }

    const long double step = static_cast<long double>(dstRate) / srcRate;
    const std::uint32_t channelStep = dstChannels * 100 / srcChannels;
    const auto* frame = static_cast<const std::uint8_t*>(src);
    auto* out = static_cast<std::uint8_t*>(dst);
    long double position = 0.0L;
    std::uint64_t outFrames = 0;
    for (std::uint32_t i = 0; i < srcFrames; ++i) {
        position += step;
        const auto target = static_cast<std::uint64_t>(std::llrint(position));  // ties to even
        while (outFrames < target && outFrames < capacityFrames) {
            emitFrame(frame, srcChannels, srcBits, dstBits, channelStep, out);
            ++outFrames;
        }
        frame += srcFrameBytes;
    }
    return std::uint32_t(out - static_cast<std::uint8_t*>(dst));
}
