#include "framework/timer/abstract_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "tests/framework_timer/timer_test_support.h"

namespace {

using Calls = std::vector<std::string>;

TEST(AbstractTimer, ConstructionAppliesTheIntervalWithoutChangeInterval) {
    ManualTimer timer(1000);
    EXPECT_EQ(timer.interval(), 1000u);
    EXPECT_TRUE(timer.calls.empty());
    EXPECT_FALSE(timer.isRunning());
}

TEST(AbstractTimer, StartingTwiceStartsTheSystemTimerOnce) {
    ManualTimer timer(40);
    timer.start();
    timer.start();
    EXPECT_TRUE(timer.isRunning());
    timer.stop();
    timer.stop();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.calls, (Calls{"start", "stop"}));
}

TEST(AbstractTimer, SetIntervalOnARunningTimerStopsAdjustsAndRestarts) {
    ManualTimer timer(40);
    timer.start();
    timer.calls.clear();

    timer.setInterval(40);
    EXPECT_TRUE(timer.calls.empty()) << "the same interval again does nothing";

    timer.setInterval(100);
    EXPECT_EQ(timer.calls, (Calls{"stop", "change 100", "start"}));
    EXPECT_EQ(timer.interval(), 100u);
    EXPECT_TRUE(timer.isRunning());
}

TEST(AbstractTimer, SetIntervalOnAStoppedTimerLeavesItStopped) {
    ManualTimer timer(40);
    timer.setInterval(100);
    EXPECT_EQ(timer.calls, (Calls{"change 100"}));
    EXPECT_FALSE(timer.isRunning());
}

TEST(AbstractTimer, ARefusedIntervalKeepsTheOldOneAndStillRestarts) {
    ManualTimer timer(40);
    timer.start();
    timer.calls.clear();
    timer.failChange = true;

    EXPECT_THROW(timer.setInterval(100), std::runtime_error);
    EXPECT_EQ(timer.interval(), 40u);
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(timer.calls, (Calls{"stop", "change 100", "start"}));
}

TEST(AbstractTimer, HandlerErrorsAreSwallowedAndLaterTicksStillRun) {
    ManualTimer timer(40);
    int ticks = 0;
    timer.setOnTimer([&](unaAbstractTimer&) {
        ++ticks;
        throw std::runtime_error("handler failed");
    });
    EXPECT_NO_THROW(timer.fire());
    EXPECT_NO_THROW(timer.fire());
    EXPECT_EQ(ticks, 2);
}

// One tick blocks in the handler until the test lets it go.
class BlockedTick : public ::testing::Test {
  protected:
    void SetUp() override {
        timer.setOnTimer([this](unaAbstractTimer&) {
            ++handlerCalls;
            entered.setState(true);
            release.waitFor(10000);
            finished.store(true);
        });
        timer.start();
        first = std::thread([this] { timer.fire(); });
        ASSERT_TRUE(entered.waitFor(10000));
    }
    void TearDown() override {
        release.setState(true);
        first.join();
    }

    ManualTimer timer{100};
    std::atomic<int> handlerCalls{0};
    std::atomic<bool> finished{false};
    unaEvent entered{true, false};
    unaEvent release{true, false};
    std::thread first;
};

TEST_F(BlockedTick, ATickThatCannotTakeTheGateInHalfAnIntervalIsSkipped) {
    timer.fire();  // gives up after 50 ms
    EXPECT_EQ(handlerCalls.load(), 1);
    EXPECT_FALSE(finished.load());
}

TEST_F(BlockedTick, StopReturnsOnlyAfterTheRunningTickHasFinished) {
    std::thread releaser([this] {
        timer.stopping.waitFor(10000);
        release.setState(true);
    });
    timer.stop();
    EXPECT_TRUE(finished.load());
    releaser.join();
}

}  // namespace
