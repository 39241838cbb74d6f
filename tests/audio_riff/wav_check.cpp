#include "wav_check.h"

#include <sndfile.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

Bytes readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {
std::uint32_t uint32At(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}
std::string tagAt(const Bytes& bytes, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset), 4);
}
}  // namespace

RiffFields readRiffFields(const std::filesystem::path& path) {
    const Bytes bytes = readWholeFile(path);
    RiffFields fields;
    fields.fileSize = bytes.size();
    if (bytes.size() < 44) {
        return fields;
    }
    fields.riffId = tagAt(bytes, 0);
    fields.riffSize = uint32At(bytes, 4);
    fields.waveId = tagAt(bytes, 8);
    fields.fmtId = tagAt(bytes, 12);
    fields.fmtSize = uint32At(bytes, 16);
    fields.fmt.assign(bytes.begin() + 20, bytes.begin() + 36);
    fields.dataId = tagAt(bytes, 36);
    fields.dataSize = uint32At(bytes, 40);
    return fields;
}

SndfileView readWithSndfile(const std::filesystem::path& path) {
    SndfileView view;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        view.error = sf_strerror(nullptr);
        return view;
    }
    view.opened = true;
    view.sampleRate = info.samplerate;
    view.channels = info.channels;
    view.format = info.format;
    view.frames = info.frames;
    Bytes buffer(64 * 1024);
    for (;;) {
        const sf_count_t got = sf_read_raw(file, buffer.data(), sf_count_t(buffer.size()));
        if (got <= 0) {
            break;
        }
        view.data.insert(view.data.end(), buffer.begin(), buffer.begin() + got);
    }
    sf_close(file);
    return view;
}

std::string soxiField(const std::filesystem::path& path, char flag) {
    const std::string command =
        std::string("soxi -") + flag + " '" + path.string() + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        out += buffer;
    }
    const int status = ::pclose(pipe);
    if (status != 0) {
        return {};
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) {
        out.pop_back();
    }
    return out;
}
