#include "framework/timer/multimedia_timer.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

using Periods = std::vector<std::uint32_t>;

struct PeriodCase {
    const char* name;
    std::uint32_t resolution;
    std::vector<std::uint32_t> intervals;  // applied in turn with setInterval
    Periods begun;
    Periods ended;
};

class PeriodRequests : public ::testing::TestWithParam<PeriodCase> {
  protected:
    void SetUp() override { platform::resetTimerPeriodRecord(); }
};

TEST_P(PeriodRequests, FollowTheInterval) {
    const PeriodCase& c = GetParam();
    {
        unaMMTimer timer(1000, c.resolution);
        for (std::uint32_t ms : c.intervals) {
            timer.setInterval(ms);
        }
        const auto record = platform::timerPeriodRecord();
        EXPECT_EQ(record.begun, c.begun);
        EXPECT_EQ(record.ended, c.ended);
        EXPECT_LE(record.active.size(), 1u) << "at most one request at a time";
    }
    EXPECT_TRUE(platform::timerPeriodRecord().active.empty()) << "destruction ends the request";
}

INSTANTIATE_TEST_SUITE_P(
    MMTimer, PeriodRequests,
    ::testing::Values(PeriodCase{"ATenthOfTheInterval", 0, {40}, {4}, {}},
                      PeriodCase{"SamePeriodKeepsTheRequest", 0, {40, 45}, {4}, {}},
                      PeriodCase{"NewPeriodReplacesTheRequest", 0, {40, 45, 100}, {4, 10}, {4}},
                      PeriodCase{"RaisedToTheSmallestPeriod", 0, {5}, {1}, {}},
                      PeriodCase{"FixedResolutionIgnoresTheInterval", 7, {40, 100}, {7}, {}},
                      PeriodCase{"ConstructionRequestsNothing", 0, {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MMTimer, TicksReachTheHandlerOnAnotherThreadUntilStopped) {
    unaMMTimer timer(1000);
    timer.setInterval(10);
    std::mutex mutex;
    std::condition_variable ticked;
    int ticks = 0;
    std::thread::id tickThread;
    timer.setOnTimer([&](unaAbstractTimer& sender) {
        EXPECT_EQ(&sender, &timer);
        std::lock_guard lock(mutex);
        ++ticks;
        tickThread = std::this_thread::get_id();
        ticked.notify_all();
    });
    timer.start();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(ticked.wait_for(lock, std::chrono::seconds(10), [&] { return ticks >= 3; }));
        EXPECT_NE(tickThread, std::this_thread::get_id());
    }
    timer.stop();
    EXPECT_FALSE(timer.isRunning());
}

}  // namespace
