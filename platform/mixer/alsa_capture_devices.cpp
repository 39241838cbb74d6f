#include "platform/mixer/alsa_capture_devices.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace qv::platform {

namespace {

constexpr std::string_view kCardDevicePrefix = "hw:CARD=";
constexpr std::array<std::string_view, 2> kSoundServers{"pulse", "pipewire"};

bool canCapture(const AlsaPcmHint& hint) {
    return hint.direction.empty() || hint.direction == "Input";
}

// "hw:CARD=PCH,DEV=0" gives card id "PCH" and device 0.
bool parseCardDevice(std::string_view name, std::string& cardId, int& device) {
    if (!name.starts_with(kCardDevicePrefix)) {
        return false;
    }
    name.remove_prefix(kCardDevicePrefix.size());
    const std::size_t comma = name.find(',');
    cardId = std::string(name.substr(0, comma));
    device = 0;
    if (comma != std::string_view::npos) {
        std::string_view rest = name.substr(comma + 1);
        if (!rest.starts_with("DEV=")) {
            return false;
        }
        device = std::atoi(std::string(rest.substr(4)).c_str());
    }
    return !cardId.empty();
}

std::string hintField(const void* hint, const char* field) {
    std::unique_ptr<char, decltype(&std::free)> value(snd_device_name_get_hint(hint, field),
                                                      &std::free);
    return value ? std::string(value.get()) : std::string();
}

}  // namespace

std::vector<AlsaCaptureDevice> orderCaptureDevices(
    const std::vector<AlsaPcmHint>& hints,
    const std::function<int(const std::string& cardId)>& cardIndexOf) {
    std::vector<AlsaCaptureDevice> devices;
    for (const AlsaPcmHint& hint : hints) {
        std::string cardId;
        int device = 0;
        if (!canCapture(hint) || !parseCardDevice(hint.name, cardId, device)) {
            continue;
        }
        AlsaCaptureDevice entry;
        entry.pcmName = "plughw:CARD=" + cardId + ",DEV=" + std::to_string(device);
        entry.description = hint.description;
        entry.card = cardIndexOf(cardId);
        entry.device = device;
        const bool listed = std::any_of(devices.begin(), devices.end(), [&](const auto& known) {
            return known.pcmName == entry.pcmName;
        });
        if (!listed) {
            devices.push_back(std::move(entry));
        }
    }
    for (std::string_view server : kSoundServers) {
        const auto hint = std::find_if(hints.begin(), hints.end(), [&](const AlsaPcmHint& h) {
            return h.name == server && canCapture(h);
        });
        if (hint != hints.end()) {
            devices.push_back({hint->name, hint->description, -1, -1});
        }
    }
    return devices;
}

std::vector<AlsaCaptureDevice> listAlsaCaptureDevices() {
    std::vector<AlsaPcmHint> hints;
    void** raw = nullptr;
    if (snd_device_name_hint(-1, "pcm", &raw) == 0 && raw != nullptr) {
        for (void** hint = raw; *hint != nullptr; ++hint) {
            hints.push_back(
                {hintField(*hint, "NAME"), hintField(*hint, "DESC"), hintField(*hint, "IOID")});
        }
        snd_device_name_free_hint(raw);
    }
    return orderCaptureDevices(hints, [](const std::string& cardId) {
        const int index = snd_card_get_index(cardId.c_str());
        return index < 0 ? -1 : index;
    });
}

}  // namespace qv::platform
