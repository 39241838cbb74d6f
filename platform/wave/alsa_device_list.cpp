#include "platform/wave/alsa_device_list.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

std::string hintValue(const void* hint, const char* id) {
    std::unique_ptr<char, decltype(&std::free)> value(snd_device_name_get_hint(hint, id),
                                                      &std::free);
    return value ? std::string(value.get()) : std::string();
}

bool servesDirection(const std::string& ioid, WaveDirection direction) {
    if (ioid.empty()) {
        return true;  // both directions
    }
    return ioid == (direction == WaveDirection::capture ? "Input" : "Output");
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

}  // namespace

std::vector<AlsaDeviceEntry> listAlsaDevices(WaveDirection direction,
                                             const std::vector<std::string>& extraNames) {
    std::vector<AlsaDeviceEntry> entries;
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0 || hints == nullptr) {
        return entries;
    }
    for (void** hint = hints; *hint != nullptr; ++hint) {
        const std::string name = hintValue(*hint, "NAME");
        if (name.empty() || !servesDirection(hintValue(*hint, "IOID"), direction)) {
            continue;
        }
        const std::string description = firstLine(hintValue(*hint, "DESC"));
        if (name.rfind("hw:", 0) == 0) {
            // One entry per card device; ALSA's plug layer converts rate and format.
            entries.push_back({"plug" + name, name, cutProductName(description)});
        } else if (std::find(extraNames.begin(), extraNames.end(), name) != extraNames.end()) {
            entries.push_back(
                {name, name, cutProductName(description.empty() ? name : description)});
        }
    }
    snd_device_name_free_hint(hints);
    return entries;
}

}  // namespace platform
