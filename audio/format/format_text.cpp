#include "audio/format/format_text.h"

#include <clocale>

namespace {

struct TagName {
    std::uint16_t first;
    std::uint16_t last;
    std::string_view text;
};

constexpr TagName tagNames[] = {
    {1, 1, "PCM"},    {2, 2, "ADPCM"}, {3, 3, "IEEEF"},    {6, 6, "ALaw"},      {7, 7, "MuLaw"},
    {8, 8, "DTS"},    {17, 17, "IMA"}, {34, 34, "DSP.TS"}, {49, 49, "GSM"},     {66, 66, "G.723"},
    {80, 80, "MPEG"}, {85, 85, "MP3"}, {112, 115, "VOXW"}, {304, 306, "ACELP"}, {352, 352, "MSA"},
};

// Bytes in the UTF-8 sequence that starts with `lead` (1 for anything that is
// not a valid lead byte, so single-byte locales keep their first byte).
std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    return lead >= 0xC2 ? 2 : 1;
}

std::string channelsToText(std::uint32_t channels) {
    switch (channels) {
        case 1:
            return "Mono";
        case 2:
            return "Stereo";
        default:
            return std::to_string(channels) + " channels";
    }
}

}  // namespace

std::string formatTagToText(std::uint16_t tag) {
    for (const TagName& name : tagNames) {
        if (tag >= name.first && tag <= name.last) {
            return std::string(name.text);
        }
    }
    return "#" + std::to_string(tag);
}

std::string groupThousands(std::uint32_t value, std::string_view separator) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string localeThousandsSeparator() {
    const std::lconv* conventions = std::localeconv();
    const char* separator = conventions != nullptr ? conventions->thousands_sep : nullptr;
    if (separator == nullptr || *separator == '\0') {
        return ",";
    }
    const std::string_view all(separator);
    const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(all.front()));
    if (length > all.size()) {
        return std::string(all.substr(0, 1));
    }
    return std::string(all.substr(0, length));
}

std::string samplingToText(std::uint32_t samplesPerSec, std::uint32_t bitsPerSample,
                           std::uint32_t channels) {
    return groupThousands(samplesPerSec, localeThousandsSeparator()) + " Hz; " +
           std::to_string(bitsPerSample) + " Bit; " + channelsToText(channels);
}

std::string formatToText(const WAVEFORMATEX& record) {
    return formatTagToText(record.wFormatTag) + ": " +
           samplingToText(record.nSamplesPerSec, record.wBitsPerSample, record.nChannels);
}
