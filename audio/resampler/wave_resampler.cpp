#include "audio/resampler/wave_resampler.h"

#include <chrono>
#include <memory>

#include "audio/resampler/resample_buffer.h"
#include "framework/stream/memory_stream.h"

namespace {

// The chunk divisor of a rate: its common divisor with 25, or a fifth of the
// rate when they share none.
std::uint32_t chunkDivisor(std::uint32_t rate) {
    const std::uint32_t a = gcd(rate, 25);
    return a == 1 ? rate / 5 : a;
}

std::uint64_t blockBytes(std::uint64_t frames, std::uint32_t bits, std::uint32_t channels) {
    return frames * bits * channels / 8;
}

}  // namespace

std::uint32_t unaWaveResampler::Buffer::frames() const {
    if (bits == 0 || channels == 0) {
        return 0;
    }
    return std::uint32_t(std::uint64_t(size) * 8 / (std::uint64_t(bits) * channels));
}

void unaWaveResampler::Buffer::allocate(std::uint32_t frameCount) {
    capacity = std::uint32_t(blockBytes(frameCount, bits, channels));
    size = 0;
    data.resize(capacity);
}

unaWaveResampler::unaWaveResampler(bool realTime, unsigned overflowLimit)
    : unaWaveSoftwareDevice(realTime, true, overflowLimit) {
    setStream(true, std::make_unique<unaMemoryStream>(kStreamGateTimeoutMs).release(), true);
    setStream(false, std::make_unique<unaMemoryStream>(kStreamGateTimeoutMs).release(), true);
}

unaWaveResampler::~unaWaveResampler() {
    close(10000);
    shutdownWorker();
}

bool unaWaveResampler::setFormat(bool isSource, const WAVEFORMATEX& format) {
    return setFormat(isSource, format.nSamplesPerSec, format.wBitsPerSample, format.nChannels);
}

bool unaWaveResampler::setFormat(bool isSource, unsigned samplesPerSec, unsigned bitsPerSample,
                                 unsigned channels) {
    if (!enter(kThreadGateTimeoutMs)) {
        return false;
    }
    WAVEFORMATEX format{};
    buildPcmFormat(format, samplesPerSec, std::uint16_t(bitsPerSample), std::uint16_t(channels));
    bool sized = false;
    if (applyFormat(isSource, format)) {
        Buffer& side = isSource ? src_ : dst_;
        side.rate = samplesPerSec;
        side.bits = std::uint16_t(bitsPerSample);
        side.channels = std::uint16_t(channels);
        sized = srcFormat() != nullptr && dstFormat() != nullptr && sizeBuffers();
    }
    leave();
    return sized;
}

bool unaWaveResampler::sizeBuffers() {
    const std::uint32_t g = gcd(chunkDivisor(src_.rate), chunkDivisor(dst_.rate));
    const std::uint32_t srcFrames = src_.rate / g;
    const std::uint32_t dstFrames = dst_.rate / g;
    if (blockBytes(srcFrames, src_.bits, src_.channels) > kMaxBufferBytes ||
        blockBytes(dstFrames, dst_.bits, dst_.channels) > kMaxBufferBytes) {
        srcChunkBytes_.store(0);
        dstChunkBytes_.store(0);
        return false;
    }
    src_.allocate(srcFrames);
    dst_.allocate(dstFrames);
    srcChunkBytes_.store(src_.capacity);
    dstChunkBytes_.store(dst_.capacity);
    return true;
}

bool unaWaveResampler::serviceHeader(unaWaveHeader* header, bool signalled) {
    const bool stepped = unaWaveSoftwareDevice::serviceHeader(header, signalled);
    if (!stepped || !enter(10)) {
        return stepped;
    }
    bool delivered = false;
    unaAbstractStream* in = inputStream();
    if (src_.capacity > 0 && in != nullptr &&
        std::uint32_t(in->getAvailableSize()) >= src_.capacity) {
        src_.size = std::uint32_t(readInput(src_.data.data(), int(src_.capacity)));
        dst_.size = resampleBuffer(src_.data.data(), dst_.data.data(), src_.frames(), src_.channels,
                                   dst_.channels, src_.bits, dst_.bits, src_.rate, dst_.rate,
                                   dst_.capacity);
        if (dst_.size > 0) {
            delivered = deliver(dst_.data.data(), int(dst_.size)) > 0;
        }
        converted_.setState(true);
    }
    leave();
    return delivered;
}

bool unaWaveResampler::flush(bool) {
    const WAVEFORMATEX* source = srcFormat();
    const std::uint32_t chunk = srcChunkBytes_.load();
    unaAbstractStream* in = inputStream();
    if (!isOpen() || source == nullptr || chunk == 0 || in == nullptr) {
        return false;
    }
    const std::uint32_t pad = chunk - std::uint32_t(in->getAvailableSize()) % chunk;
    if (pad > 0 && pad < chunk) {
        const std::vector<std::uint8_t> silence(pad, source->wBitsPerSample == 8 ? 128 : 0);
        setFlushing(true);
        acceptChunk(silence.data(), int(pad));
        waitUntilInputConverted();
        setFlushing(false);
    }
    return true;
}

void unaWaveResampler::waitUntilInputConverted() {
    // The worker keeps converting while the flushing flag is set; without this
    // wait the padded chunk would be cut off by the closing worker.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kFlushTimeoutMs);
    unaAbstractStream* in = inputStream();
    while (std::uint32_t(in->getAvailableSize()) >= srcChunkBytes_.load() &&
           std::chrono::steady_clock::now() < deadline) {
        converted_.waitFor(chunkInterval());
    }
}
