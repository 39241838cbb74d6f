#include "audio/software/mixer_device.h"

#include <algorithm>

#include "audio/software/mix_buffers.h"

unaWaveMixerDevice::~unaWaveMixerDevice() {
    close(10000);
    shutdownWorker();
}

bool unaWaveMixerDevice::serviceHeader(unaWaveHeader* header, bool signalled) {
    if (!unaWaveMultiStreamDevice::serviceHeader(header, signalled)) {
        return false;
    }
    // The list and the format may only change between chunks: a stream removed
    // while it is being read would be freed under the worker.
    if (!enter(chunkInterval())) {
        return false;
    }
    const unsigned mixed = mixOneChunk();
    leave();
    // The blocks belong to this worker alone: deliver without holding the gate.
    return mixed != 0 && deliver(accumulator_.data(), int(mixed)) > 0;
}

unsigned unaWaveMixerDevice::mixOneChunk() {
    const WAVEFORMATEX* format = srcFormat();
    if (format == nullptr || getStreamCount() == 0) {
        return 0;
    }
    const unsigned bits = format->wBitsPerSample;
    const unsigned channels = format->nChannels;
    const unsigned chunk = chunkSize();
    if (chunk == 0 || bits == 0 || channels == 0) {
        return 0;
    }
    if (accumulator_.size() < chunk) {
        accumulator_.resize(chunk);
    }
    if (scratch_.size() < chunk) {
        scratch_.resize(chunk);
    }
    const std::uint8_t silence = bits == 8 ? 128 : 0;
    const auto samplesPerChannel = unsigned(std::uint64_t(chunk) * 8 / (channels * bits));

    for (unsigned i = 0; i < getStreamCount(); ++i) {
        std::uint8_t* block = i == 0 ? accumulator_.data() : scratch_.data();
        unaAbstractStream* stream = getStream(i);
        const int read = stream != nullptr ? stream->read(block, int(chunk), true) : 0;
        if (unsigned(read) < chunk) {
            if (!addSilence()) {
                return 0;
            }
            std::fill(block + std::max(read, 0), block + chunk, silence);
        }
        if (i > 0) {
            mixBuffers(scratch_.data(), accumulator_.data(), accumulator_.data(), samplesPerChannel,
                       bits, bits, bits, true, channels);
        }
        addInBytes(chunk);
    }
    return chunk;
}
