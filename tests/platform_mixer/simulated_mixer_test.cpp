#include "platform/mixer/simulated_mixer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace qv::platform;

namespace {

SimulatedMixer oneLineMixer() {
    SimulatedLine speakers;
    speakers.name = "Speakers";
    speakers.componentType = component_type::speakers;
    speakers.controls = {SimulatedControl::volume(0, 65535, {100, 200})};
    SimulatedMixer mixer;
    mixer.name = "Card";
    mixer.destinations = {SimulatedDestination{speakers, {}}};
    return mixer;
}

// A receiver whose callback blocks until released, to show that close waits for it.
class SlowReceiver {
  public:
    MixerChangeCallback callback() {
        return [this](std::uint32_t) {
            std::unique_lock lock(mutex_);
            entered_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
            ++delivered_;
            entered_ = false;
        };
    }
    bool waitEntered() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return entered_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    bool inside() {
        std::lock_guard lock(mutex_);
        return entered_;
    }
    int delivered() {
        std::lock_guard lock(mutex_);
        return delivered_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool released_ = false;
    int delivered_ = 0;
};

TEST(SimulatedMixerDriver, ReadsChannelsPastTheControlsOwnAsItsLast) {
    SimulatedMixerDriver driver({oneLineMixer()});
    const std::uint32_t id = driver.controlId(0, 0, -1, 0);
    std::vector<std::uint32_t> values;
    ASSERT_EQ(driver.getValues(0, {id, 3, 0}, values), mixer_result::ok);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{100, 200, 200}));
    EXPECT_NE(driver.getValues(0, {id + 100, 1, 0}, values), mixer_result::ok);
    EXPECT_NE(driver.getValues(1, {id, 1, 0}, values), mixer_result::ok);
}

TEST(SimulatedMixerDriver, CloseWaitsForACallbackInProgressAndEndsDelivery) {
    SimulatedMixerDriver driver({oneLineMixer()});
    SlowReceiver receiver;
    std::unique_ptr<MixerConnection> connection;
    ASSERT_EQ(driver.open(0, receiver.callback(), connection), mixer_result::ok);
    const std::uint32_t id = driver.controlId(0, 0, -1, 0);

    driver.changeFromOutside(0, id, {1, 1});
    ASSERT_TRUE(receiver.waitEntered());
    driver.changeFromOutside(0, id, {2, 2});  // queued behind the first

    std::thread releaser([&] { receiver.release(); });
    EXPECT_EQ(connection->close(), mixer_result::ok);
    EXPECT_FALSE(receiver.inside());
    releaser.join();
    const int delivered = receiver.delivered();
    EXPECT_GE(delivered, 1);
    EXPECT_EQ(driver.openConnectionCount(0), 0u);

    driver.changeFromOutside(0, id, {3, 3});
    EXPECT_EQ(receiver.delivered(), delivered);
}

}  // namespace
