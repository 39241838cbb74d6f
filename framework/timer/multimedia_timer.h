#pragma once

#include <cstdint>

#include "framework/timer/abstract_timer.h"
#include "platform/mmtimer/mm_timer.h"

// A timer on the platform's multimedia-timer service. It keeps one system
// timer period request, derived from the interval (a tenth of it, at least
// the smallest period the system supports) unless a fixed resolution is given;
// the request persists across start and stop and changes only with the
// interval.
class unaMMTimer : public unaAbstractTimer {
  public:
    // resolution 0 derives the period from the interval.
    unaMMTimer(uint32_t interval, uint32_t resolution = 0);
    ~unaMMTimer() override;

    uint32_t resolution() const { return resolution_; }
    // The period currently requested from the system, 0 when none.
    uint32_t requestedPeriod() const { return requestedPeriod_; }

  protected:
    void changeInterval(uint32_t& interval) override;
    uintptr_t doStart() override;
    void doStop() override;

  private:
    std::uint32_t eventId_ = 0;
    const uint32_t resolution_;
    uint32_t requestedPeriod_ = 0;
    platform::TIMECAPS caps_;
};
