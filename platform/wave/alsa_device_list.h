#pragma once

#include <string>
#include <vector>

#include "platform/wave/wave_types.h"

namespace platform {

// One PCM device a person would pick.
struct AlsaDeviceEntry {
    std::string pcmName;      // what snd_pcm_open takes ("plughw:CARD=PCH,DEV=0", "pulse")
    std::string directName;   // the same device without ALSA's conversions
    std::string productName;  // readable, at most 31 characters
};

// The devices of one direction from ALSA's name hints: one entry per card
// device, plus the hinted PCMs named in `extraNames` ("pulse", "pipewire").
std::vector<AlsaDeviceEntry> listAlsaDevices(WaveDirection direction,
                                             const std::vector<std::string>& extraNames);

}  // namespace platform
