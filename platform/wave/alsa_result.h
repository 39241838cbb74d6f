#pragma once

#include "platform/wave/wave_types.h"

namespace platform {

// The result code for an ALSA error (a negative errno) met while opening.
// `formatStage` is true when the error came from setting up the format.
MmResult resultFromAlsaError(int error, bool formatStage);

}  // namespace platform
