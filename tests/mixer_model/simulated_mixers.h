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

inline SimulatedLine line(std::string name, std::uint32_t componentType,
                          std::vector<SimulatedControl> controls = {}, std::uint32_t channels = 2) {
    SimulatedLine built;
    built.name = std::move(name);
    built.componentType = componentType;
    built.channels = channels;
    built.controls = std::move(controls);
    return built;
}

inline SimulatedDestination destination(SimulatedLine line,
                                        std::vector<SimulatedLine> sources = {}) {
    return SimulatedDestination{std::move(line), std::move(sources)};
}

inline SimulatedMixer mixer(std::string name, std::vector<SimulatedDestination> destinations) {
    SimulatedMixer built;
    built.name = std::move(name);
    built.destinations = std::move(destinations);
    return built;
}

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
