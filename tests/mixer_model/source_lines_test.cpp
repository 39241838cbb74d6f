#include <gtest/gtest.h>

#include "simulated_mixers.h"

using namespace mixer_test;
namespace ct = qv::platform::component_type;

namespace {

std::vector<SimulatedControl> controls(unsigned count) {
    std::vector<SimulatedControl> built;
    for (unsigned i = 0; i < count; ++i) {
        built.push_back(SimulatedControl::other("Control " + std::to_string(i)));
    }
    return built;
}

TEST(MixerSourceLines, AreKeptInReverseOrderAndCappedAt128) {
    std::vector<SimulatedLine> sources;
    for (unsigned s = 0; s < 200; ++s) {
        sources.push_back(line("Source " + std::to_string(s), ct::sourceLine));
    }
    SimulatedSystem sim({mixer("Card", {destination(line("Recording", ct::waveIn), sources)})});
    ASSERT_TRUE(sim.system->selectMixer(0));

    ASSERT_EQ(sim.system->getSourceCount(0), 128u);
    EXPECT_EQ(sim.system->getLineName(0, 0), "Source 127");
    EXPECT_EQ(sim.system->getLineName(0, 127), "Source 0");
    EXPECT_EQ(sim.system->getLine(0, 128), nullptr);
    EXPECT_EQ(sim.system->getLineName(0, 128), "");
    EXPECT_EQ(sim.system->getDestinationName(0), "Recording");
    EXPECT_EQ(sim.system->getDestinationName(1), "");
}

TEST(MixerSourceLines, AnUnreadableLineHasNoNameSourcesOrControls) {
    SimulatedMixer card = mixer(
        "Card", {destination(line("Recording", ct::waveIn, {SimulatedControl::volume(0, 100)}),
                             {line("Mic", ct::sourceMicrophone)})});
    card.faults.lineInfo = true;
    SimulatedSystem sim({card});
    ASSERT_TRUE(sim.system->selectMixer(0));

    ASSERT_EQ(sim.system->getDestinationCount(), 1u);
    EXPECT_EQ(sim.system->getDestinationName(0), "");
    EXPECT_EQ(sim.system->getSourceCount(0), 0u);
    EXPECT_EQ(sim.system->getVolumeControlId(0, -1), -1);
}

struct MicrophoneCase {
    const char* title;
    std::vector<unsigned> microphoneControls;  // per microphone, in the mixer's own order
    int expected;                              // position in the reversed list
};

class MicrophoneChoice : public testing::TestWithParam<MicrophoneCase> {};

TEST_P(MicrophoneChoice, TakesTheMicrophoneWithTheMostControls) {
    const MicrophoneCase& c = GetParam();
    // Source 0 is a line input; the microphones follow it.
    std::vector<SimulatedLine> sources{line("Line In", ct::sourceLine, controls(5))};
    for (unsigned count : c.microphoneControls) {
        sources.push_back(line("Mic", ct::sourceMicrophone, controls(count)));
    }
    SimulatedSystem sim({mixer("Card", {destination(line("Recording", ct::waveIn), sources)})});
    ASSERT_TRUE(sim.system->selectMixer(0));

    EXPECT_EQ(sim.system->findSourceByType(0, ct::sourceMicrophone), c.expected);
    EXPECT_EQ(sim.system->canForceMicrophone(), c.expected >= 0);
}

// Sources n-1 .. 0 sit at positions 0 .. n-1.
INSTANTIATE_TEST_SUITE_P(Cases, MicrophoneChoice,
                         testing::Values(MicrophoneCase{"more_controls_wins", {2, 3}, 0},
                                         MicrophoneCase{"first_of_more_controls", {4, 2}, 1},
                                         MicrophoneCase{"equal_counts_first_in_list", {2, 2}, 0},
                                         MicrophoneCase{"no_microphone", {}, -1}),
                         [](const testing::TestParamInfo<MicrophoneCase>& info) {
                             return info.param.title;
                         });

}  // namespace
