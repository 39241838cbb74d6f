#include "audio/format/wave_format.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void FormatDeleter::operator()(WAVEFORMATEX* record) const {
    freeFormat(record);
}

WAVEFORMATEX& buildPcmFormat(WAVEFORMATEX& record, std::uint32_t samplesPerSec,
                             std::uint16_t bitsPerSample, std::uint16_t channels) {
    record.wFormatTag = WAVE_FORMAT_PCM;
    record.nChannels = channels;
    record.nSamplesPerSec = samplesPerSec;
    record.wBitsPerSample = bitsPerSample;
    record.nBlockAlign = static_cast<std::uint16_t>((std::uint32_t{channels} * bitsPerSample) >> 3);
    record.nAvgBytesPerSec = std::uint32_t{record.nBlockAlign} * samplesPerSec;
    return record;
}

WAVEFORMATEX& buildPcmFormat(WAVEFORMATEX& record, const PcmSampling& sampling) {
    return buildPcmFormat(record, static_cast<std::uint32_t>(sampling.samplesPerSec),
                          static_cast<std::uint16_t>(sampling.bitsPerSample),
                          static_cast<std::uint16_t>(sampling.channels));
}

PcmSampling samplingOf(const WAVEFORMATEX& record) {
    return PcmSampling{static_cast<int>(record.nSamplesPerSec), record.wBitsPerSample,
                       record.nChannels};
}

std::uint32_t formatSize(const WAVEFORMATEX& record) {
    if (record.wFormatTag == WAVE_FORMAT_PCM) {
        return pcmFormatSize;
    }
    return extendedFormatHeaderSize + record.cbSize;
}

FormatPtr allocateFormat(std::uint32_t bytes) {
    // calloc'd storage implicitly holds the record (a trivial type).
    void* storage = std::calloc(std::max(bytes, pcmFormatSize), 1);
    return FormatPtr(static_cast<WAVEFORMATEX*>(storage));
}

FormatPtr duplicateFormat(const WAVEFORMATEX* source) {
    if (source == nullptr) {
        return nullptr;
    }
    const std::uint32_t bytes = formatSize(*source);
    FormatPtr copy = allocateFormat(bytes);
    if (copy) {
        std::memcpy(copy.get(), source, bytes);
    }
    return copy;
}

bool freeFormat(WAVEFORMATEX* record) {
    std::free(record);
    return true;
}

bool sameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
    if (a.wFormatTag != b.wFormatTag || a.nChannels != b.nChannels ||
        a.nSamplesPerSec != b.nSamplesPerSec || a.wBitsPerSample != b.wBitsPerSample) {
        return false;
    }
    if (a.wFormatTag == WAVE_FORMAT_PCM) {
        return true;
    }
    if (a.cbSize != b.cbSize) {
        return false;
    }
    const auto* extraA = reinterpret_cast<const unsigned char*>(&a) + extendedFormatHeaderSize;
    const auto* extraB = reinterpret_cast<const unsigned char*>(&b) + extendedFormatHeaderSize;
    return std::memcmp(extraA, extraB, a.cbSize) == 0;
}

std::uint32_t maxFormatSize(CodecDriverId driver, const CodecManager& codecs) {
    return codecs.maxFormatSize(driver).value_or(0);
}
