#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mixer/model/mixer_system.h"
#include "platform/mixer/simulated_mixer.h"

namespace mixer_test {

using qv::platform::SimulatedControl;
using qv::platform::SimulatedDestination;
using qv::platform::SimulatedLine;
using qv::platform::SimulatedMixer;
using qv::platform::SimulatedMixerDriver;

using qv::platform::simulated::destination;
using qv::platform::simulated::line;
using qv::platform::simulated::mixer;

// A model over simulated mixers, with the driver kept at hand for checks.
struct SimulatedSystem {
    explicit SimulatedSystem(std::vector<SimulatedMixer> mixers,
                             std::vector<std::optional<unsigned>> captureMixerIds = {})
        : driver(std::make_shared<SimulatedMixerDriver>(std::move(mixers),
                                                        std::move(captureMixerIds))),
          system(std::make_unique<unaMsMixerSystem>(true, driver)) {}

    std::shared_ptr<SimulatedMixerDriver> driver;
    std::unique_ptr<unaMsMixerSystem> system;
};

}  // namespace mixer_test
