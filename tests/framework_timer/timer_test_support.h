#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/timer/abstract_timer.h"

// A timer whose ticks the test fires by hand, logging the calls of its hooks.
class ManualTimer : public unaAbstractTimer {
  public:
    explicit ManualTimer(uint32_t interval) : unaAbstractTimer(interval) {}
    ~ManualTimer() override { stop(); }

    void fire() { tick(); }

    std::vector<std::string> calls;
    bool failChange = false;
    unaEvent stopping{true, false};

  protected:
    void changeInterval(uint32_t& interval) override {
        calls.push_back("change " + std::to_string(interval));
        if (failChange) {
            throw std::runtime_error("refused");
        }
    }
    uintptr_t doStart() override {
        calls.push_back("start");
        return 1;
    }
    void doStop() override {
        calls.push_back("stop");
        stopping.setState(true);
        unaAbstractTimer::doStop();
    }
};
