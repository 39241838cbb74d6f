#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// A capture device in the numbering of the wave layer, with its card.
struct AlsaCaptureDevice {
    std::string pcmName;
    // Card number, -1 for a sound server ("pulse", "pipewire").
    int card = -1;
};

// The sound-server PCMs that the wave layer lists besides the card devices
// (AlsaWaveDriver's default); the mixer layer numbers capture devices the same way.
inline const std::vector<std::string> kCaptureServerNames{"pulse", "pipewire"};

// The card of a direct PCM name "hw:CARD=<id>,DEV=<n>" (cardIndexOf maps the
// id to a number); -1 for any other name.
int cardOfDirectPcm(std::string_view directName,
                    const std::function<int(const std::string& cardId)>& cardIndexOf);

// The capture devices in the wave layer's order (platform/wave/alsa_device_list.h):
// index i here is capture device i there. Index -1, ALSA's "default", is not listed.
std::vector<AlsaCaptureDevice> listAlsaCaptureDevices();

}  // namespace qv::platform
