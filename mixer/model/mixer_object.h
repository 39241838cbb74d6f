#pragma once

#include "platform/mixer/mixer_types.h"

// Root of the mixer device, line and control classes.
class unaMsMixerObject {
  public:
    // A mixer call succeeded when it returned 0.
    static bool mixerCallSucceeded(qv::platform::MixerResult result) {
        return result == qv::platform::mixer_result::ok;
    }

  protected:
    unaMsMixerObject() = default;
    ~unaMsMixerObject() = default;
};
