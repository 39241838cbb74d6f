#include <gtest/gtest.h>

#include "simulated_mixers.h"

using namespace mixer_test;
namespace ct = qv::platform::component_type;

namespace {

struct VolumeCase {
    const char* title;
    std::int32_t minimum;
    std::int32_t maximum;
    std::uint32_t channels;
    std::vector<std::uint32_t> stored;
    int percentRead;
    int percentWritten;
    std::uint32_t valueWritten;
};

class LineVolume : public testing::TestWithParam<VolumeCase> {
  protected:
    LineVolume()
        : sim({mixer(
              "Card",
              {destination(line("Speakers", ct::speakers),
                           {line("Wave", ct::sourceWaveOut,
                                 {SimulatedControl::volume(GetParam().minimum, GetParam().maximum,
                                                           GetParam().stored)},
                                 GetParam().channels)})})}) {
        sim.system->selectMixer(0);
    }

    SimulatedSystem sim;
};

TEST_P(LineVolume, ReadsTheAverageOfBothChannelsInPercent) {
    EXPECT_EQ(sim.system->getLineVolume(0, 0), GetParam().percentRead);
}

TEST_P(LineVolume, WritesEachChannelInItsOwnWrite) {
    const VolumeCase& c = GetParam();
    ASSERT_TRUE(sim.system->setLineVolume(0, 0, c.percentWritten));
    const auto writes = sim.driver->writes();
    ASSERT_EQ(writes.size(), c.channels);
    const std::vector<std::uint32_t> expected(c.channels, c.valueWritten);
    EXPECT_EQ(writes.back().values, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineVolume,
    testing::Values(VolumeCase{"full_range_half", 0, 65535, 2, {32768, 32768}, 50, 100, 65500},
                    VolumeCase{"full_range_uneven", 0, 65535, 2, {0, 65535}, 50, 40, 26200},
                    VolumeCase{"small_range_scales", 0, 50, 2, {25, 25}, 50, 80, 40},
                    VolumeCase{"mono_line", 0, 65535, 1, {65535}, 100, 50, 32750},
                    VolumeCase{"zero_reads_zero", 0, 65535, 2, {0, 0}, 0, 0, 0},
                    // Percentages count from the minimum, both ways.
                    VolumeCase{"offset_range", 10, 110, 2, {60, 60}, 50, 50, 60},
                    VolumeCase{"percent_above_100_is_capped", 0, 65535, 2, {0, 0}, 0, 250, 65500},
                    VolumeCase{"inverted_bounds_are_empty", 100, 0, 2, {50, 50}, 0, 50, 100}),
    [](const testing::TestParamInfo<VolumeCase>& info) { return info.param.title; });

TEST(LineVolumeAbsent, ReportsMinusOneAndWritesNothing) {
    SimulatedSystem sim({mixer("Card", {destination(line("Speakers", ct::speakers))})});
    sim.system->selectMixer(0);
    EXPECT_EQ(sim.system->getVolumeControlId(0, -1), -1);
    EXPECT_EQ(sim.system->getLineVolume(0, -1), -1);
    EXPECT_FALSE(sim.system->setLineVolume(0, -1, 50));
    EXPECT_TRUE(sim.driver->writes().empty());
}

TEST(LineVolumeReadFailure, ReadsAsZero) {
    SimulatedSystem sim(
        {mixer("Card", {destination(line("Speakers", ct::speakers,
                                         {SimulatedControl::volume(0, 65535, {65535, 65535})}))})});
    sim.system->selectMixer(0);
    ASSERT_EQ(sim.system->getLineVolume(0, -1), 100);
    sim.driver->setFaults(0, {.values = true});
    EXPECT_EQ(sim.system->getLineVolume(0, -1), 0);
}

class LineMute : public testing::Test {
  protected:
    LineMute()
        : sim({mixer("Card", {destination(line("Speakers", ct::speakers),
                                          {line("Wave", ct::sourceWaveOut, {stereoMute()}),
                                           line("Synth", ct::sourceSynthesizer)})})}) {
        sim.system->selectMixer(0);
    }

    static SimulatedControl stereoMute() {
        SimulatedControl mute = SimulatedControl::mute(false);
        mute.flags = 0;  // one switch per channel
        return mute;
    }

    SimulatedSystem sim;
};

TEST_F(LineMute, SetsEveryChannel) {
    // Position 1 is platform source 0, "Wave".
    ASSERT_FALSE(sim.system->getLineMute(0, 1));
    ASSERT_TRUE(sim.system->setLineMute(0, 1, true));
    EXPECT_EQ(sim.driver->writes().back().values, (std::vector<std::uint32_t>{1, 1}));
    EXPECT_TRUE(sim.system->getLineMute(0, 1));
}

TEST_F(LineMute, ALineWithoutMuteReadsMutedAndCannotBeSet) {
    EXPECT_EQ(sim.system->getMuteControlId(0, 0), -1);
    EXPECT_TRUE(sim.system->getLineMute(0, 0));
    EXPECT_FALSE(sim.system->setLineMute(0, 0, false));
}

}  // namespace
