#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

// The one clock of the platform layer. By default it is the monotonic clock;
// tests may speed it up (say 50x) so that simulated sound cards and the timer
// stand-in run an hour of audio in about a minute. Everything that paces audio
// or ticks in platform/ reads this clock, so they all stay in step.
//
// Thread rules: every function may be called from any thread at any time.
// Changing the speed keeps now() continuous and monotonic; sleepers and waiters
// re-check their deadline when the speed changes under them.
class PlatformClock {
  public:
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<PlatformClock, duration>;
    static constexpr bool is_steady = true;

    static time_point now();

    // Sleeps until now() >= deadline (an absolute deadline: late wake-ups never
    // add up over a series of deadlines).
    static void sleepUntil(time_point deadline);

    // Waits on cv until pred() holds or the clock reaches deadline; returns pred().
    // The lock must hold the mutex that protects what pred() reads.
    template <class Predicate>
    static bool waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                          time_point deadline, Predicate pred);

    // How many clock seconds pass per real second (1 = real time). factor > 0.
    static void setSpeedUp(double factor);
    static double speedUp();

    // The real (monotonic) moment at which the clock reads `t` at the current speed.
    static std::chrono::steady_clock::time_point toSteady(time_point t);
};

// Sets a speed-up for the lifetime of the object and restores real time after.
class ScopedClockSpeedUp {
  public:
    explicit ScopedClockSpeedUp(double factor) { PlatformClock::setSpeedUp(factor); }
    ~ScopedClockSpeedUp() { PlatformClock::setSpeedUp(1.0); }
    ScopedClockSpeedUp(const ScopedClockSpeedUp&) = delete;
    ScopedClockSpeedUp& operator=(const ScopedClockSpeedUp&) = delete;
};

template <class Predicate>
bool PlatformClock::waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                              time_point deadline, Predicate pred) {
    while (!pred()) {
        if (now() >= deadline) {
            return false;
        }
        // Wake at least every 50 ms so that a change of speed is noticed.
        const auto realDeadline = std::min(
            toSteady(deadline), std::chrono::steady_clock::now() + std::chrono::milliseconds(50));
        cv.wait_until(lock, realDeadline);
    }
    return true;
}

}  // namespace platform
