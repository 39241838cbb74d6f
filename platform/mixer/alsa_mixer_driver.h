#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/mixer/mixer_driver.h"

namespace qv::platform {

// The mixers of the sound cards, through ALSA's simple mixer API. One mixer
// device per card, named after the card, followed by one per sound-server
// control device ("pulse", "pipewire") that is offered for capture and opens.
// Each mixer has a speakers destination (0) and a recording destination (1).
// The layouts are read once, here; values on every call.
std::unique_ptr<MixerDriver> makeAlsaMixerDriver();

// The same over the named ALSA control devices only, in that order ("hw:0",
// "pulse"); a name that does not open is left out.
std::unique_ptr<MixerDriver> makeAlsaMixerDriver(const std::vector<std::string>& ctlNames);

}  // namespace qv::platform
