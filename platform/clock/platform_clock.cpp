#include "platform/clock/platform_clock.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace platform {
namespace {

using Steady = std::chrono::steady_clock;

// The clock reads base + (steady - steadyBase) * factor. Re-based at every
// change of speed so that its reading never jumps.
struct ClockState {
    std::mutex mutex;
    Steady::time_point steadyBase = Steady::now();
    PlatformClock::time_point base{steadyBase.time_since_epoch()};
    double factor = 1.0;
};

ClockState& state() {
    static ClockState clockState;
    return clockState;
}

PlatformClock::time_point readLocked(const ClockState& s, Steady::time_point steadyNow) {
    const auto elapsed = std::chrono::duration<double, std::nano>(steadyNow - s.steadyBase);
    return s.base + std::chrono::duration_cast<PlatformClock::duration>(elapsed * s.factor);
}

void nanosleepUntil(Steady::time_point t) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch());
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    // steady_clock is CLOCK_MONOTONIC on Linux.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

}  // namespace

PlatformClock::time_point PlatformClock::now() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return readLocked(s, Steady::now());
}

Steady::time_point PlatformClock::toSteady(time_point t) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    const auto ahead = std::chrono::duration<double, std::nano>(t - s.base);
    return s.steadyBase + std::chrono::duration_cast<Steady::duration>(ahead / s.factor);
}

void PlatformClock::sleepUntil(time_point deadline) {
    while (now() < deadline) {
        // Sleep in slices of at most 50 ms when sped up, so a change of speed is seen.
        auto target = toSteady(deadline);
        if (speedUp() != 1.0) {
            target = std::min(target, Steady::now() + std::chrono::milliseconds(50));
        }
        nanosleepUntil(target);
    }
}

void PlatformClock::setSpeedUp(double factor) {
    if (!(factor > 0.0) || !std::isfinite(factor)) {
        return;
    }
    auto& s = state();
    std::lock_guard lock(s.mutex);
    const auto steadyNow = Steady::now();
    s.base = readLocked(s, steadyNow);
    s.steadyBase = steadyNow;
    s.factor = factor;
}

double PlatformClock::speedUp() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.factor;
}

}  // namespace platform
