#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Reads written WAV files back: the header fields byte by byte, and the file
// as independent readers (libsndfile, sox's soxi) see it.

using Bytes = std::vector<std::uint8_t>;

struct RiffFields {
    std::uint64_t fileSize = 0;
    std::string riffId, waveId, fmtId, dataId;
    std::uint32_t riffSize = 0;
    std::uint32_t fmtSize = 0;
    std::uint32_t dataSize = 0;
    Bytes fmt;  // the fmtSize bytes of the format record
};

Bytes readWholeFile(const std::filesystem::path& path);
// Assumes the 44-byte PCM layout; zeros when the file is shorter.
RiffFields readRiffFields(const std::filesystem::path& path);

struct SndfileView {
    bool opened = false;
    std::string error;
    int sampleRate = 0;
    int channels = 0;
    int format = 0;  // SF_FORMAT_* major | subtype
    std::int64_t frames = 0;
    Bytes data;  // the data chunk's bytes as the library reads them raw
};

SndfileView readWithSndfile(const std::filesystem::path& path);

// One field of `soxi -<flag> path` (r rate, c channels, b bits, s samples),
// or "" when soxi fails.
std::string soxiField(const std::filesystem::path& path, char flag);
