#include <algorithm>
#include <mutex>

#include "platform/mmtimer/mm_timer.h"

namespace platform {
namespace {

constexpr std::uint32_t kPeriodMin = 1;
constexpr std::uint32_t kPeriodMax = 1'000'000;

struct PeriodBook {
    std::mutex mutex;
    TimerPeriodRecord record;
};

PeriodBook& book() {
    static PeriodBook instance;
    return instance;
}

}  // namespace

MmTimerResult timeBeginPeriod(std::uint32_t periodMs) {
    if (periodMs < kPeriodMin || periodMs > kPeriodMax) {
        return TIMERR_NOCANDO;
    }
    auto& b = book();
    std::lock_guard lock(b.mutex);
    b.record.begun.push_back(periodMs);
    auto& active = b.record.active;
    active.insert(std::upper_bound(active.begin(), active.end(), periodMs), periodMs);
    return TIMERR_NOERROR;
}

MmTimerResult timeEndPeriod(std::uint32_t periodMs) {
    auto& b = book();
    std::lock_guard lock(b.mutex);
    auto& active = b.record.active;
    const auto it = std::find(active.begin(), active.end(), periodMs);
    if (it == active.end()) {
        return TIMERR_NOCANDO;
    }
    active.erase(it);
    b.record.ended.push_back(periodMs);
    return TIMERR_NOERROR;
}

MmTimerResult timeGetDevCaps(TIMECAPS& caps) {
    caps.wPeriodMin = kPeriodMin;
    caps.wPeriodMax = kPeriodMax;
    return TIMERR_NOERROR;
}

TimerPeriodRecord timerPeriodRecord() {
    auto& b = book();
    std::lock_guard lock(b.mutex);
    return b.record;
}

void resetTimerPeriodRecord() {
    auto& b = book();
    std::lock_guard lock(b.mutex);
    b.record = {};
}

}  // namespace platform
