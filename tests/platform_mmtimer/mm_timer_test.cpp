#include "platform/mmtimer/mm_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/clock/platform_clock.h"

namespace platform {
namespace {

using namespace std::chrono_literals;

// Collects tick times and lets the test wait for a number of ticks.
class TickLog {
  public:
    void tick() {
        std::lock_guard lock(mutex_);
        times_.push_back(PlatformClock::now());
        changed_.notify_all();
    }
    bool waitFor(std::size_t count, std::chrono::seconds timeout = 10s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return times_.size() >= count; });
    }
    std::vector<PlatformClock::time_point> times() {
        std::lock_guard lock(mutex_);
        return times_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<PlatformClock::time_point> times_;
};

TEST(MmTimer, TicksFallOnAbsoluteDeadlinesSoAStallIsCaughtUp) {
    constexpr auto period = 20ms;
    constexpr std::size_t ticks = 50;
    TickLog log;
    std::atomic<int> calls{0};
    const auto set = PlatformClock::now();
    const auto id = timeSetEvent(
        20, 1,
        [&](std::uint32_t) {
            if (++calls == 5) {
                std::this_thread::sleep_for(8 * period);  // a stalled tick
            }
            log.tick();
        },
        TIME_PERIODIC);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(log.waitFor(ticks));
    ASSERT_EQ(timeKillEvent(id), TIMERR_NOERROR);

    const auto times = log.times();
    for (std::size_t k = 0; k < times.size(); ++k) {
        EXPECT_GE(times[k], set + (k + 1) * period) << "tick " << k << " came early";
    }
    // Relative scheduling would be 160 ms behind by now; absolute deadlines are not.
    EXPECT_LT(times[ticks - 1] - (set + ticks * period), 120ms);
}

TEST(MmTimer, SpedUpClockPacesTheTicks) {
    ScopedClockSpeedUp speedUp(50.0);
    TickLog log;
    const auto set = PlatformClock::now();
    const auto realStart = std::chrono::steady_clock::now();
    const auto id = timeSetEvent(
        40, 1, [&](std::uint32_t) { log.tick(); }, TIME_PERIODIC);
    ASSERT_TRUE(log.waitFor(100));  // 4 s of clock time
    timeKillEvent(id);
    const auto times = log.times();
    EXPECT_GE(times[99] - set, 4s);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, 4s);
}

TEST(MmTimer, KillFromInsideTheCallbackStopsFurtherTicks) {
    ScopedClockSpeedUp speedUp(50.0);
    TickLog log;
    std::atomic<std::uint32_t> id{0};
    std::atomic<MmTimerResult> killResult{999};
    std::mutex mutex;
    std::unique_lock hold(mutex);  // the callback waits until the id is known
    id = timeSetEvent(
        10, 1,
        [&](std::uint32_t self) {
            std::lock_guard lock(mutex);
            log.tick();
            if (log.times().size() == 3) {
                killResult = timeKillEvent(self);
            }
        },
        TIME_PERIODIC);
    hold.unlock();
    ASSERT_TRUE(log.waitFor(3));
    // Ten more periods pass without a tick.
    PlatformClock::sleepUntil(PlatformClock::now() + 100ms);
    EXPECT_EQ(log.times().size(), 3u);
    EXPECT_EQ(killResult.load(), TIMERR_NOERROR);
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_TIMER_INVALPARAM);
}

TEST(MmTimer, KillWaitsForARunningCallback) {
    std::mutex mutex;
    std::condition_variable entered;
    bool inside = false;
    std::atomic<bool> running{false};
    std::atomic<int> ticks{0};
    const auto id = timeSetEvent(
        5, 1,
        [&](std::uint32_t) {
            running = true;
            {
                std::lock_guard lock(mutex);
                inside = true;
                entered.notify_all();
            }
            std::this_thread::sleep_for(30ms);  // work the kill must wait for
            ++ticks;
            running = false;
        },
        TIME_PERIODIC);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(entered.wait_for(lock, 10s, [&] { return inside; }));
    }
    ASSERT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    EXPECT_FALSE(running.load());
    const int after = ticks;
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_TIMER_INVALPARAM);
    EXPECT_EQ(ticks.load(), after);
}

TEST(MmTimer, OneShotTicksOnce) {
    ScopedClockSpeedUp speedUp(50.0);
    TickLog log;
    const auto id = timeSetEvent(
        10, 1, [&](std::uint32_t) { log.tick(); }, TIME_ONESHOT);
    ASSERT_TRUE(log.waitFor(1));
    PlatformClock::sleepUntil(PlatformClock::now() + 100ms);
    EXPECT_EQ(log.times().size(), 1u);
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
}

TEST(MmTimer, RefusesEventsOutsideItsCapabilities) {
    TIMECAPS caps;
    ASSERT_EQ(timeGetDevCaps(caps), TIMERR_NOERROR);
    EXPECT_EQ(caps.wPeriodMin, 1u);
    const auto noop = [](std::uint32_t) {};
    EXPECT_EQ(timeSetEvent(0, 1, noop, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(caps.wPeriodMax + 1, 1, noop, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(10, 1, nullptr, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(10, 1, noop, 7), 0u);
    EXPECT_EQ(timeKillEvent(0), MMSYSERR_TIMER_INVALPARAM);
}

TEST(TimerPeriods, BeginAndEndAreRecordedAndMustPairUp) {
    resetTimerPeriodRecord();
    EXPECT_EQ(timeBeginPeriod(4), TIMERR_NOERROR);
    EXPECT_EQ(timeBeginPeriod(10), TIMERR_NOERROR);
    EXPECT_EQ(timeEndPeriod(4), TIMERR_NOERROR);
    EXPECT_EQ(timeEndPeriod(4), TIMERR_NOCANDO);  // no longer requested
    EXPECT_EQ(timeEndPeriod(7), TIMERR_NOCANDO);
    EXPECT_EQ(timeBeginPeriod(0), TIMERR_NOCANDO);

    const auto record = timerPeriodRecord();
    EXPECT_EQ(record.begun, (std::vector<std::uint32_t>{4, 10}));
    EXPECT_EQ(record.ended, (std::vector<std::uint32_t>{4}));
    EXPECT_EQ(record.active, (std::vector<std::uint32_t>{10}));
    timeEndPeriod(10);
    resetTimerPeriodRecord();
    EXPECT_TRUE(timerPeriodRecord().begun.empty());
}

}  // namespace
}  // namespace platform
