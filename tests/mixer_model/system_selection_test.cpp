#include <gtest/gtest.h>

#include "simulated_mixers.h"

using namespace mixer_test;
namespace ct = qv::platform::component_type;

namespace {

SimulatedMixer cardWithVolume(std::string name) {
    return mixer(
        std::move(name),
        {destination(line("Speakers", ct::speakers,
                          {SimulatedControl::volume(0, 65535), SimulatedControl::mute(false)}))});
}

TEST(MixerSystemWithoutMixers, AnswersEveryQueryWithNone) {
    SimulatedSystem sim({});
    unaMsMixerSystem& system = *sim.system;

    EXPECT_TRUE(system.isEnumerated());
    EXPECT_EQ(system.getMixerCount(), 0u);
    EXPECT_FALSE(system.selectMixer(0));
    EXPECT_EQ(system.getWaveDeviceIndex(), -2);
    EXPECT_EQ(system.getMixerName(), "");
    EXPECT_EQ(system.getDestinationCount(), 0u);
    EXPECT_EQ(system.getDestinationIndex(true), -1);
    EXPECT_EQ(system.getDestinationIndex(false), -1);
    EXPECT_EQ(system.getLine(0, -1), nullptr);
    EXPECT_EQ(system.getSourceCount(0), 0u);
    EXPECT_EQ(system.getVolumeControlId(0, -1), -1);
    EXPECT_EQ(system.getLineVolume(0, -1), -1);
    EXPECT_FALSE(system.setLineVolume(0, -1, 50));
    EXPECT_FALSE(system.setLineMute(0, -1, true));
    EXPECT_EQ(system.getRecordingSource(), -1);
    EXPECT_FALSE(system.setRecordingSource(0));
    EXPECT_FALSE(system.canForceMicrophone());
}

TEST(MixerSystemSelection, ReadsTheMixersOnlyWhenAsked) {
    auto driver =
        std::make_shared<SimulatedMixerDriver>(std::vector<SimulatedMixer>{cardWithVolume("Card")});
    unaMsMixerSystem system(false, driver);
    EXPECT_FALSE(system.isEnumerated());
    EXPECT_EQ(system.getMixerCount(), 0u);
    system.enumDevices();
    EXPECT_EQ(system.getMixerCount(), 1u);

    // Reading them again drops the selection, which pointed into the old list.
    ASSERT_TRUE(system.selectMixer(0));
    system.enumDevices();
    EXPECT_EQ(system.selectedMixer(), nullptr);
    EXPECT_EQ(driver->openConnectionCount(0), 0u);
}

TEST(MixerSystemSelection, KeepsOnlyTheSelectedMixerOpen) {
    SimulatedSystem sim({cardWithVolume("First card"), cardWithVolume("Second card")});
    unaMsMixerSystem& system = *sim.system;

    ASSERT_TRUE(system.selectMixer(0));
    EXPECT_EQ(system.getMixerName(), "First card");
    EXPECT_EQ(sim.driver->openConnectionCount(0), 1u);

    ASSERT_TRUE(system.selectMixer(1));
    EXPECT_EQ(system.getMixerName(), "Second card");
    EXPECT_EQ(sim.driver->openConnectionCount(0), 0u);
    EXPECT_EQ(sim.driver->openConnectionCount(1), 1u);

    EXPECT_FALSE(system.selectMixer(2));
    EXPECT_EQ(system.getMixerName(), "");
    EXPECT_EQ(sim.driver->openConnectionCount(1), 0u);

    system.selectMixer(1);
    sim.system.reset();
    EXPECT_EQ(sim.driver->openConnectionCount(1), 0u);
}

TEST(MixerSystemSelection, AMixerWhoseCloseFailsStaysOpenUntilFreed) {
    SimulatedSystem sim({cardWithVolume("Card")});
    ASSERT_TRUE(sim.system->selectMixer(0));
    unaMsMixerDevice* device = sim.system->getMixer(0);
    sim.driver->setFaults(0, {.close = true});

    sim.system->selectMixer(-1);
    EXPECT_TRUE(device->isMixerOpen());
    EXPECT_EQ(sim.driver->openConnectionCount(0), 1u);

    sim.system.reset();
    EXPECT_EQ(sim.driver->openConnectionCount(0), 0u);
}

TEST(MixerSystemSelection, ANameLongerThanTheRecordHoldsIsCutAtACharacter) {
    // 30 ASCII characters, then two-byte characters: the record keeps 31 characters.
    const std::string name = std::string(30, 'x') + "\xC3\xA9\xC3\xA9";
    SimulatedSystem sim({cardWithVolume(name)});
    sim.system->selectMixer(0);
    EXPECT_EQ(sim.system->getMixerName(), std::string(30, 'x') + "\xC3\xA9");
}

TEST(MixerSystemSelection, AMixerWhoseCapabilitiesFailHasNoDestinations) {
    SimulatedMixer broken = cardWithVolume("Broken");
    broken.faults.caps = true;
    SimulatedSystem sim({broken});
    ASSERT_TRUE(sim.system->selectMixer(0));
    EXPECT_EQ(sim.system->getDestinationCount(), 0u);
    EXPECT_EQ(sim.system->getMixerName(), "");
}

struct WaveDeviceCase {
    const char* title;
    std::vector<std::optional<unsigned>> captureMixerIds;
    int selected;
    int expected;
};

class WaveDeviceOfMixer : public testing::TestWithParam<WaveDeviceCase> {};

TEST_P(WaveDeviceOfMixer, IsTheFirstCaptureDeviceOfTheSameMixer) {
    const WaveDeviceCase& c = GetParam();
    SimulatedSystem sim({cardWithVolume("A"), cardWithVolume("B")}, c.captureMixerIds);
    sim.system->selectMixer(c.selected);
    EXPECT_EQ(sim.system->getWaveDeviceIndex(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaveDeviceOfMixer,
    testing::Values(WaveDeviceCase{"first_of_two", {0u, 1u, 1u}, 1, 1},
                    WaveDeviceCase{"failing_query_skipped", {std::nullopt, 0u}, 0, 1},
                    WaveDeviceCase{"no_capture_device", {}, 0, -3},
                    WaveDeviceCase{"other_card_only", {1u}, 0, -3},
                    WaveDeviceCase{"nothing_selected", {0u}, -1, -2}),
    [](const testing::TestParamInfo<WaveDeviceCase>& info) { return info.param.title; });

}  // namespace
