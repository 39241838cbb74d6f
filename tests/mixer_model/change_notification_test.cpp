#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "simulated_mixers.h"

using namespace mixer_test;
namespace ct = qv::platform::component_type;

namespace {

// Collects the control IDs that the mixer layer reports, as a window would.
class ChangeInbox {
  public:
    qv::platform::MixerChangeCallback callback() {
        return [this](std::uint32_t controlId) {
            {
                std::lock_guard lock(mutex_);
                ids_.push_back(controlId);
                threads_.push_back(std::this_thread::get_id());
            }
            arrived_.notify_all();
        };
    }

    bool waitFor(std::uint32_t controlId) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::seconds(10), [&] {
            return std::find(ids_.begin(), ids_.end(), controlId) != ids_.end();
        });
    }

    std::vector<std::thread::id> threads() {
        std::lock_guard lock(mutex_);
        return threads_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::uint32_t> ids_;
    std::vector<std::thread::id> threads_;
};

class ChangeFromAnotherProgram : public testing::Test {
  protected:
    ChangeFromAnotherProgram()
        : sim({mixer("Card",
                     {destination(line("Speakers", ct::speakers)),
                      destination(line("Recording", ct::waveIn, {SimulatedControl::mux({0, 1}, 0)}),
                                  {line("Line In", ct::sourceLine,
                                        {SimulatedControl::volume(0, 65535, {655, 655})}),
                                   line("Mic", ct::sourceMicrophone)})})}) {}

    ChangeInbox inbox;  // outlives the system, whose mixer calls it
    SimulatedSystem sim;
};

TEST_F(ChangeFromAnotherProgram, MovesTheValuesWithoutWritingBack) {
    ASSERT_TRUE(sim.system->selectMixer(0, inbox.callback()));
    // Position 1 is platform source 0, "Line In".
    ASSERT_EQ(sim.system->getLineVolume(1, 1), 1);
    const auto volumeId = static_cast<std::uint32_t>(sim.system->getVolumeControlId(1, 1));
    const std::uint32_t muxId = sim.driver->controlId(0, 1, -1, 0);

    sim.driver->changeFromOutside(0, volumeId, {26214, 26214});
    ASSERT_TRUE(inbox.waitFor(volumeId));
    EXPECT_EQ(sim.system->getLineVolume(1, 1), 40);

    sim.driver->changeFromOutside(0, muxId, {0, 1});
    ASSERT_TRUE(inbox.waitFor(muxId));
    EXPECT_EQ(sim.system->getRecordingSource(), 0);

    EXPECT_TRUE(sim.driver->writes().empty());
    for (std::thread::id thread : inbox.threads()) {
        EXPECT_NE(thread, std::this_thread::get_id());
    }
}

TEST_F(ChangeFromAnotherProgram, AlsoReportsTheProgramsOwnWrites) {
    ASSERT_TRUE(sim.system->selectMixer(0, inbox.callback()));
    ASSERT_TRUE(sim.system->setRecordingSource(0));
    EXPECT_TRUE(inbox.waitFor(sim.driver->controlId(0, 1, -1, 0)));
}

TEST_F(ChangeFromAnotherProgram, StopsWhenTheMixerIsDeselected) {
    ASSERT_TRUE(sim.system->selectMixer(0, inbox.callback()));
    sim.system->selectMixer(-1);
    const auto volumeId = sim.driver->controlId(0, 1, 0, 0);
    sim.driver->changeFromOutside(0, volumeId, {0, 0});
    EXPECT_TRUE(inbox.threads().empty());
}

}  // namespace
