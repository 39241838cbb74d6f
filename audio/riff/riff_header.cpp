#include "audio/riff/riff_header.h"

#include <cstring>
#include <limits>

namespace {

// Writes into a buffer sized up front: gcc 12 at -O2 misreads growing inserts
// into a vector as overflows.
void putTag(std::uint8_t*& at, const char (&tag)[5]) {
    std::memcpy(at, tag, 4);
    at += 4;
}

void putUint32(std::uint8_t*& at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        *at++ = static_cast<std::uint8_t>(value >> shift);
    }
}

// RIFF id and size, "WAVE", "fmt " id and size, "data" id and size.
constexpr std::uint32_t kFixedHeaderBytes = 28;

}  // namespace

std::uint32_t riffHeaderSize(const WAVEFORMATEX& format) {
    return kFixedHeaderBytes + formatSize(format);
}

std::vector<std::uint8_t> buildRiffHeader(const WAVEFORMATEX& format, std::uint32_t dataBytes) {
    const std::uint32_t fmtBytes = formatSize(format);
    std::vector<std::uint8_t> out(kFixedHeaderBytes + fmtBytes);
    std::uint8_t* at = out.data();
    putTag(at, "RIFF");
    putUint32(at, riffHeaderSize(format) - 8 + dataBytes);
    putTag(at, "WAVE");
    putTag(at, "fmt ");
    putUint32(at, fmtBytes);
    std::memcpy(at, &format, fmtBytes);
    at += fmtBytes;
    putTag(at, "data");
    putUint32(at, dataBytes);
    return out;
}

std::uint32_t riffDataLimit(const WAVEFORMATEX& format) {
    const std::uint32_t most =
        std::numeric_limits<std::uint32_t>::max() - (riffHeaderSize(format) - 8);
    const std::uint32_t frame = format.nBlockAlign != 0 ? format.nBlockAlign : 1;
    return most - most % frame;
}
