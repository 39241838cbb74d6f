#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qv::platform {

// One PCM name hint as ALSA lists it.
struct AlsaPcmHint {
    std::string name;
    std::string description;
    // "Input", "Output" or empty for both directions.
    std::string direction;
};

// A capture device in the order the program numbers them.
struct AlsaCaptureDevice {
    // The PCM to open: "plughw:CARD=<id>,DEV=<n>" for a card device (it converts
    // formats), "pulse" or "pipewire" for a sound server.
    std::string pcmName;
    std::string description;
    // Card number, -1 for a sound server.
    int card = -1;
    int device = -1;
};

// Capture device numbering shared by the wave and mixer layers. Index -1 is
// ALSA's "default" PCM and is not listed. Indices 0.. are, in ALSA's hint
// order, one entry per card device that can capture (the "hw:CARD=..,DEV=.."
// hints), then "pulse" and then "pipewire" when they are hinted for capture.
std::vector<AlsaCaptureDevice> orderCaptureDevices(
    const std::vector<AlsaPcmHint>& hints,
    const std::function<int(const std::string& cardId)>& cardIndexOf);

// The capture devices of this system, from ALSA's device name hints.
std::vector<AlsaCaptureDevice> listAlsaCaptureDevices();

}  // namespace qv::platform
