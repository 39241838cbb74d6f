#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

// The multimedia-timer service the program's timers are built on.
//
// Every event runs its callback on a timer thread of its own. Ticks fall on
// absolute deadlines of the platform clock (start + k x period), so a late tick
// never delays the ones after it and the average period is exact; ticks missed
// by more than ten periods are dropped instead of fired in a burst. A sped-up
// platform clock speeds the ticks up with it.
//
// Thread rules: all functions are thread-safe. The callback must not block for
// long; it may call timeKillEvent() for any event, its own included.

using MmTimerResult = std::uint32_t;
inline constexpr MmTimerResult TIMERR_NOERROR = 0;
inline constexpr MmTimerResult TIMERR_NOCANDO = 97;
inline constexpr MmTimerResult MMSYSERR_TIMER_INVALPARAM = 11;

inline constexpr std::uint32_t TIME_ONESHOT = 0;
inline constexpr std::uint32_t TIME_PERIODIC = 1;

struct TIMECAPS {
    std::uint32_t wPeriodMin = 0;
    std::uint32_t wPeriodMax = 0;
};

using TimerCallback = std::function<void(std::uint32_t timerId)>;

// Starts an event that calls `callback` after `delayMs` and, with TIME_PERIODIC,
// every `delayMs` after that. `resolutionMs` is accepted and has no effect.
// Returns the event id, or 0 when the arguments are refused (delay outside
// the capabilities, no callback, unknown type). A one-shot event keeps its id
// until it is killed.
std::uint32_t timeSetEvent(std::uint32_t delayMs, std::uint32_t resolutionMs,
                           TimerCallback callback, std::uint32_t type);

// Stops an event. Returns once no callback of it runs any more; called from
// the event's own callback it returns at once and no later tick starts.
// MMSYSERR_TIMER_INVALPARAM for an unknown id (0 included).
MmTimerResult timeKillEvent(std::uint32_t timerId);

// Period requests have no effect on Linux; they are recorded so that the rules
// of who requests what can be checked. Begin and end must pair up per period.
MmTimerResult timeBeginPeriod(std::uint32_t periodMs);
MmTimerResult timeEndPeriod(std::uint32_t periodMs);

// The smallest period is 1 ms, the largest 1 000 000 ms.
MmTimerResult timeGetDevCaps(TIMECAPS& caps);

// What was asked of timeBeginPeriod / timeEndPeriod (successful calls only).
struct TimerPeriodRecord {
    std::vector<std::uint32_t> begun;   // in call order
    std::vector<std::uint32_t> ended;   // in call order
    std::vector<std::uint32_t> active;  // begun and not yet ended, sorted
};
TimerPeriodRecord timerPeriodRecord();
void resetTimerPeriodRecord();

}  // namespace platform
