#pragma once

#include <memory>
#include <string>

#include "platform/wave/alsa_wave_driver.h"

namespace platform::testing {

// True inside scripts/pulse_stack.sh. Outside it the tests skip (and CI runs
// them only through the script, which fails loudly without pulseaudio).
bool insidePulseStack();

// The index of the device whose product name is `name`, or -2.
int findDevice(WaveDriver& driver, WaveDirection direction, const std::string& name);

// The ALSA driver listing the stack's PCMs besides the card devices.
std::shared_ptr<AlsaWaveDriver> makeStackDriver();

}  // namespace platform::testing
