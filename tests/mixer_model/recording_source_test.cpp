#include <gtest/gtest.h>

#include "simulated_mixers.h"

using namespace mixer_test;
namespace ct = qv::platform::component_type;

namespace {

enum class ListKind { mux, mixerType };

// A recording destination with four sources and a list control over all of
// them; items are in source order. Sources 0 and 2 start switched on (a mux
// takes only source 0).
class RecordingSourceList : public testing::TestWithParam<ListKind> {
  protected:
    RecordingSourceList() : sim({card(GetParam())}) { sim.system->selectMixer(0); }

    static SimulatedMixer card(ListKind kind) {
        const std::vector<unsigned> items{0, 1, 2, 3};
        SimulatedControl list =
            kind == ListKind::mux ? SimulatedControl::mux(items, 0)
                                  : SimulatedControl::mixerList(items, {true, false, true, false});
        return mixer(
            "Card",
            {destination(line("Speakers", ct::speakers)),
             destination(line("Recording", ct::waveIn, {list}),
                         {line("Line In", ct::sourceLine), line("Microphone", ct::sourceMicrophone),
                          line("CD", ct::sourceCompactDisc), line("Aux", ct::sourceAuxiliary)})});
    }

    std::vector<std::uint32_t> listValues() const {
        return sim.driver->storedValues(0, sim.driver->controlId(0, 1, -1, 0));
    }

    SimulatedSystem sim;
};

// Platform source k sits at position 3 - k.
TEST_P(RecordingSourceList, ReportsTheFirstSelectedSourceAsAPosition) {
    EXPECT_EQ(sim.system->getRecordingSource(), 3);
}

TEST_P(RecordingSourceList, ChoosingASourceWritesTheListOnce) {
    ASSERT_TRUE(sim.system->setRecordingSource(2));  // platform source 1, the microphone
    ASSERT_EQ(sim.driver->writes().size(), 1u);
    if (GetParam() == ListKind::mux) {
        EXPECT_EQ(listValues(), (std::vector<std::uint32_t>{0, 1, 0, 0}));
        EXPECT_EQ(sim.system->getRecordingSource(), 2);
    } else {
        EXPECT_EQ(listValues(), (std::vector<std::uint32_t>{1, 1, 1, 0}));
        // Still the first selected item in list order.
        EXPECT_EQ(sim.system->getRecordingSource(), 3);
    }
}

TEST_P(RecordingSourceList, ASourcePositionThatDoesNotExistChangesNothing) {
    EXPECT_FALSE(sim.system->setRecordingSource(4));
    EXPECT_FALSE(sim.system->setRecordingSource(-1));
    EXPECT_TRUE(sim.driver->writes().empty());
}

TEST_P(RecordingSourceList, FollowsASelectionMadeByAnotherProgram) {
    sim.driver->changeFromOutside(0, sim.driver->controlId(0, 1, -1, 0), {0, 0, 0, 1});
    EXPECT_EQ(sim.system->getRecordingSource(), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RecordingSourceList,
                         testing::Values(ListKind::mux, ListKind::mixerType),
                         [](const testing::TestParamInfo<ListKind>& info) {
                             return info.param == ListKind::mux ? "mux" : "mixer_type";
                         });

TEST(RecordingSource, ASourceNoListOffersCannotBeChosen) {
    SimulatedSystem sim({mixer(
        "Card",
        {destination(line("Recording", ct::waveIn, {SimulatedControl::mux({0}, 0)}),
                     {line("Line In", ct::sourceLine), line("Mic", ct::sourceMicrophone)})})});
    sim.system->selectMixer(0);
    EXPECT_FALSE(sim.system->setRecordingSource(0));  // platform source 1, not in the mux
    EXPECT_TRUE(sim.system->setRecordingSource(1));
}

TEST(RecordingSource, ListTextsThatFailToReadAreReadAgainLater) {
    SimulatedMixer card =
        mixer("Card",
              {destination(line("Recording", ct::waveIn, {SimulatedControl::mux({0, 1}, 1)}),
                           {line("Line In", ct::sourceLine), line("Mic", ct::sourceMicrophone)})});
    card.faults.listTextFailures = 1;
    SimulatedSystem sim({card});
    sim.system->selectMixer(0);

    // Built without texts; the first value read fetches them.
    EXPECT_EQ(sim.system->getRecordingSource(), 0);
    const unsigned reads = sim.driver->listTextReadCount();
    EXPECT_EQ(sim.system->getRecordingSource(), 0);
    EXPECT_EQ(sim.driver->listTextReadCount(), reads);
}

}  // namespace
