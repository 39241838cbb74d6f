#include "framework/timer/multimedia_timer.h"

using namespace platform;

unaMMTimer::unaMMTimer(uint32_t interval, uint32_t resolution)
    : unaAbstractTimer(interval), resolution_(resolution) {
    timeGetDevCaps(caps_);
}

unaMMTimer::~unaMMTimer() {
    stop();
    if (requestedPeriod_ != 0) {
        timeEndPeriod(requestedPeriod_);
    }
}

void unaMMTimer::changeInterval(uint32_t& interval) {
    uint32_t period = resolution_ != 0 ? resolution_ : interval / 10;
    if (period < caps_.wPeriodMin) {
        period = caps_.wPeriodMin;
    }
    if (period == requestedPeriod_) {
        return;
    }
    if (requestedPeriod_ != 0) {
        timeEndPeriod(requestedPeriod_);
        requestedPeriod_ = 0;
    }
    if (timeBeginPeriod(period) == TIMERR_NOERROR) {
        requestedPeriod_ = period;
    }
}

uintptr_t unaMMTimer::doStart() {
    // The event's resolution is always 1 ms; the period request sets the pace.
    eventId_ = timeSetEvent(
        interval(), 1, [this](std::uint32_t) { tick(); }, TIME_PERIODIC);
    return 1;  // a refused event leaves the timer marked running, without ticks
}

void unaMMTimer::doStop() {
    timeKillEvent(eventId_);
    unaAbstractTimer::doStop();
    eventId_ = 0;
}
