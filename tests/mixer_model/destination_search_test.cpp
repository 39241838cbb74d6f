#include <gtest/gtest.h>

#include "simulated_mixers.h"

using namespace mixer_test;
namespace ct = qv::platform::component_type;
namespace tt = qv::platform::target_type;

namespace {

struct DestinationType {
    std::uint32_t component;
    std::uint32_t target;
};

struct DestinationCase {
    const char* title;
    std::vector<DestinationType> destinations;
    int playback;
    int recording;
};

class DestinationSearch : public testing::TestWithParam<DestinationCase> {};

TEST_P(DestinationSearch, FindsPlaybackAndRecordingLines) {
    const DestinationCase& c = GetParam();
    std::vector<SimulatedDestination> destinations;
    for (const DestinationType& type : c.destinations) {
        SimulatedLine built = line("Destination", type.component);
        built.targetType = type.target;
        destinations.push_back(destination(built));
    }
    SimulatedSystem sim({mixer("Card", destinations)});
    ASSERT_TRUE(sim.system->selectMixer(0));

    EXPECT_EQ(sim.system->getDestinationIndex(true), c.playback);
    EXPECT_EQ(sim.system->getDestinationIndex(false), c.recording);
}

constexpr std::uint32_t kUnknown = 0x0A;

INSTANTIATE_TEST_SUITE_P(
    Cases, DestinationSearch,
    testing::Values(
        DestinationCase{"speakers_only", {{ct::speakers, 0}}, 0, -1},
        DestinationCase{"speakers_and_line", {{ct::speakers, 0}, {ct::destinationLine, 0}}, 0, 1},
        DestinationCase{"wave_in_first", {{ct::waveIn, 0}, {ct::speakers, 0}}, 1, 0},
        DestinationCase{"wave_in_wins_over_line",
                        {{ct::destinationLine, 0}, {ct::waveIn, 0}, {ct::speakers, 0}},
                        2,
                        1},
        DestinationCase{"headphones", {{ct::headphones, 0}, {ct::waveIn, 0}}, 0, 1},
        DestinationCase{"by_target_type", {{kUnknown, tt::waveIn}, {kUnknown, tt::waveOut}}, 1, 0},
        DestinationCase{"no_known_types", {{kUnknown, 0}, {kUnknown, 0}}, 0, 1},
        // Only one destination: recording would be index 1, which does not exist.
        DestinationCase{"one_unknown_destination", {{kUnknown, 0}}, 0, -1},
        DestinationCase{"recording_only", {{ct::waveIn, 0}}, -1, 0},
        DestinationCase{"recording_behind_unknown", {{kUnknown, 0}, {ct::waveIn, 0}}, 0, 1},
        DestinationCase{"no_destinations", {}, -1, -1}),
    [](const testing::TestParamInfo<DestinationCase>& info) { return info.param.title; });

}  // namespace
