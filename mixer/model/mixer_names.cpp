#include "mixer/model/mixer_names.h"

std::string clipName(const std::string& name, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && chars++ == maxChars) {
            return name.substr(0, i);
        }
    }
    return name;
}
