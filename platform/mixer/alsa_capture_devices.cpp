#include "platform/mixer/alsa_capture_devices.h"

#include <alsa/asoundlib.h>

#include "platform/wave/alsa_device_list.h"

namespace qv::platform {

namespace {
constexpr std::string_view kCardPrefix = "hw:CARD=";
}  // namespace

int cardOfDirectPcm(std::string_view directName,
                    const std::function<int(const std::string& cardId)>& cardIndexOf) {
    if (!directName.starts_with(kCardPrefix)) {
        return -1;
    }
    directName.remove_prefix(kCardPrefix.size());
    const std::string cardId(directName.substr(0, directName.find(',')));
    return cardId.empty() ? -1 : cardIndexOf(cardId);
}

std::vector<AlsaCaptureDevice> listAlsaCaptureDevices() {
    std::vector<AlsaCaptureDevice> devices;
    for (const ::platform::AlsaDeviceEntry& entry :
         ::platform::listAlsaDevices(::platform::WaveDirection::capture, kCaptureServerNames)) {
        const int card = cardOfDirectPcm(entry.directName, [](const std::string& cardId) {
            const int index = snd_card_get_index(cardId.c_str());
            return index < 0 ? -1 : index;
        });
        devices.push_back({entry.pcmName, card});
    }
    return devices;
}

}  // namespace qv::platform
