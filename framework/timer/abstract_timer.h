#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "framework/core/gate.h"
#include "framework/core/object.h"

// A timer that calls a handler periodically on a system timer thread.
//
// Ticks of one timer never overlap: each tick holds the timer's gate, and a
// tick that cannot take it within half an interval (the previous tick still
// runs, or stop() is waiting) is skipped, not queued. Errors raised by the
// handler are swallowed so they never reach the timer thread.
//
// Thread rules: start(), stop() and setInterval() come from the owner's
// threads, never from the handler. The handler must be safe to run
// concurrently with the owner. Subclasses call stop() in their own destructor:
// by the time this one runs their doStop() is gone.
class unaAbstractTimer : public unaObject {
  public:
    using TimerHandler = std::function<void(unaAbstractTimer& sender)>;

    static constexpr int kStopWaitMs = 5000;

    explicit unaAbstractTimer(uint32_t interval);
    ~unaAbstractTimer() override;

    // Starting a running timer does nothing.
    void start();
    void stop();
    bool isRunning() const { return running_.load() != 0; }

    uint32_t interval() const { return interval_.load(); }
    // Stops the timer, lets changeInterval() adjust the value, stores it and
    // restarts the timer when it ran. The same interval again does nothing.
    // An error of changeInterval() leaves the interval as it was and reaches
    // the caller, after the timer was restarted.
    void setInterval(uint32_t ms);

    void setOnTimer(TimerHandler handler);

  protected:
    // Runs at every tick before the handler.
    virtual void onTick() {}
    // Told about a new interval before it takes effect; may adjust it.
    virtual void changeInterval(uint32_t& interval) { (void)interval; }
    // Starts the system timer; non-zero for success.
    virtual uintptr_t doStart() = 0;
    // Returns once a tick in progress has finished (or after 5 s).
    virtual void doStop();

    // One tick; the system timer calls it on its own thread.
    void tick();

  private:
    std::atomic<uint32_t> interval_;
    std::atomic<uintptr_t> running_{0};
    std::recursive_mutex controlMutex_;  // serialises start, stop and setInterval
    TimerHandler onTimer_;
    unaInProcessGate gate_;
};
