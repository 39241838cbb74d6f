#include "platform/wave/wav_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace platform {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool readWavFile(const std::string& path, WavContents& contents, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "not a RIFF/WAVE file";
        return false;
    }
    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const auto* chunk = bytes.data() + pos;
        const std::size_t size = le32(chunk + 4);
        const std::size_t body = pos + 8;
        const std::size_t available = std::min(size, bytes.size() - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
            contents.format.formatTag = le16(chunk + 8);
            contents.format.channels = le16(chunk + 10);
            contents.format.samplesPerSec = le32(chunk + 12);
            contents.format.bitsPerSample = le16(chunk + 22);
            if (!contents.format.isCarried()) {
                error = "not 8- or 16-bit PCM";
                return false;
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                error = "data before format";
                return false;
            }
            const auto* data = chunk + 8;
            contents.samples.clear();
            if (contents.format.bitsPerSample == 8) {
                for (std::size_t i = 0; i < available; ++i) {
                    contents.samples.push_back(static_cast<std::int16_t>((data[i] - 128) * 256));
                }
            } else {
                for (std::size_t i = 0; i + 1 < available; i += 2) {
                    contents.samples.push_back(static_cast<std::int16_t>(le16(data + i)));
                }
            }
            return true;
        }
        pos = body + size + (size & 1);  // chunks are padded to even sizes
    }
    error = "no data chunk";
    return false;
}

}  // namespace platform
