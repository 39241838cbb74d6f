#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/codecs/codec_manager.h"

// The one wave format record of the program, laid out byte for byte as in a
// WAV file's "fmt " chunk. A PCM record is only 16 bytes long: cbSize and the
// extra bytes exist only for other tags, so never read cbSize of a PCM record.
static_assert(std::endian::native == std::endian::little,
              "format records and samples are stored little-endian as in memory");

#pragma pack(push, 1)
struct WAVEFORMATEX {
    std::uint16_t wFormatTag;
    std::uint16_t nChannels;
    std::uint32_t nSamplesPerSec;
    std::uint32_t nAvgBytesPerSec;
    std::uint16_t nBlockAlign;
    std::uint16_t wBitsPerSample;
    std::uint16_t cbSize;  // absent in a PCM record
    // cbSize extra bytes follow for tags other than PCM.
};
#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18);
static_assert(alignof(WAVEFORMATEX) == 1);
static_assert(offsetof(WAVEFORMATEX, nSamplesPerSec) == 4);
static_assert(offsetof(WAVEFORMATEX, nAvgBytesPerSec) == 8);
static_assert(offsetof(WAVEFORMATEX, nBlockAlign) == 12);
static_assert(offsetof(WAVEFORMATEX, wBitsPerSample) == 14);
static_assert(offsetof(WAVEFORMATEX, cbSize) == 16);

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;
inline constexpr std::uint32_t pcmFormatSize = 16;
inline constexpr std::uint32_t extendedFormatHeaderSize = sizeof(WAVEFORMATEX);

// What the program keeps per device: rate, sample width and channel count.
struct PcmSampling {
    int samplesPerSec = 0;
    int bitsPerSample = 0;
    int channels = 0;

    bool operator==(const PcmSampling&) const = default;
};

// Releases records made by allocateFormat and duplicateFormat.
struct FormatDeleter {
    void operator()(WAVEFORMATEX* record) const;
};
using FormatPtr = std::unique_ptr<WAVEFORMATEX, FormatDeleter>;

// Fills the PCM fields; cbSize is left alone, so a 16-byte record is fine.
// nBlockAlign truncates: 1 channel of 12 bits gives 1 byte.
WAVEFORMATEX& buildPcmFormat(WAVEFORMATEX& record, std::uint32_t samplesPerSec,
                             std::uint16_t bitsPerSample, std::uint16_t channels);
WAVEFORMATEX& buildPcmFormat(WAVEFORMATEX& record, const PcmSampling& sampling);

// The sampling numbers of a record.
PcmSampling samplingOf(const WAVEFORMATEX& record);

// Bytes the record occupies: 16 for PCM, 18 + cbSize otherwise.
std::uint32_t formatSize(const WAVEFORMATEX& record);

// A zero-filled record buffer of `bytes` bytes, at least the 16 of a PCM
// record (which has no cbSize to write); empty when memory runs out.
FormatPtr allocateFormat(std::uint32_t bytes);

// A byte copy of formatSize(*source) bytes; empty for an empty source.
FormatPtr duplicateFormat(const WAVEFORMATEX* source);

// Releases a record made by allocateFormat or duplicateFormat (or taken out
// of a FormatPtr). Accepts null. Always true.
bool freeFormat(WAVEFORMATEX* record);

// Same tag, channels, rate and bits; for tags other than PCM also the same
// cbSize and extra bytes. Block alignment and byte rate do not count.
bool sameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b);

// Largest format record of a driver (all drivers for allCodecDrivers) as the
// codec manager reports it; 0 when it cannot tell (always so on Linux).
std::uint32_t maxFormatSize(CodecDriverId driver = allCodecDrivers,
                            const CodecManager& codecs = systemCodecManager());
