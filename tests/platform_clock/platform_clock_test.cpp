#include "platform/clock/platform_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace platform {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

TEST(PlatformClock, SpedUpClockRunsFasterThanRealTime) {
    ScopedClockSpeedUp speedUp(50.0);
    const auto realStart = Steady::now();
    const auto clockStart = PlatformClock::now();
    PlatformClock::sleepUntil(clockStart + 2s);  // about 40 ms of real time
    const auto realElapsed = Steady::now() - realStart;
    const auto clockElapsed = PlatformClock::now() - clockStart;
    EXPECT_GE(clockElapsed, 2s);
    // The clock ran about 50 times faster than real time; allow a loaded machine.
    EXPECT_GT(clockElapsed, realElapsed * 10);
}

TEST(PlatformClock, SleepUntilNeverReturnsEarly) {
    for (const double factor : {1.0, 50.0}) {
        ScopedClockSpeedUp speedUp(factor);
        auto deadline = PlatformClock::now();
        for (int i = 0; i < 5; ++i) {
            deadline += 3ms;
            PlatformClock::sleepUntil(deadline);
            EXPECT_GE(PlatformClock::now(), deadline) << "speed-up " << factor;
        }
    }
}

TEST(PlatformClock, ChangingSpeedKeepsTheClockMonotonic) {
    std::atomic<bool> done{false};
    std::thread changer([&] {
        for (int i = 0; i < 200; ++i) {
            PlatformClock::setSpeedUp(i % 2 ? 50.0 : 1.0);
        }
        done = true;
    });
    auto last = PlatformClock::now();
    while (!done) {
        const auto t = PlatformClock::now();
        ASSERT_GE(t, last);
        last = t;
    }
    changer.join();
    PlatformClock::setSpeedUp(1.0);
    EXPECT_EQ(PlatformClock::speedUp(), 1.0);
}

TEST(PlatformClock, InvalidSpeedUpIsIgnored) {
    ScopedClockSpeedUp speedUp(4.0);
    PlatformClock::setSpeedUp(0.0);
    PlatformClock::setSpeedUp(-3.0);
    EXPECT_EQ(PlatformClock::speedUp(), 4.0);
}

TEST(PlatformClock, WaitUntilWakesOnPredicateOrDeadline) {
    std::mutex mutex;
    std::condition_variable cv;
    bool flag = false;
    std::unique_lock lock(mutex);
    EXPECT_FALSE(
        PlatformClock::waitUntil(cv, lock, PlatformClock::now() + 5ms, [&] { return flag; }));

    std::thread setter([&] {
        std::lock_guard setterLock(mutex);
        flag = true;
        cv.notify_all();
    });
    EXPECT_TRUE(
        PlatformClock::waitUntil(cv, lock, PlatformClock::now() + 10s, [&] { return flag; }));
    lock.unlock();
    setter.join();
}

}  // namespace
}  // namespace platform
