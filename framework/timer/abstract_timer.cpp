#include "framework/timer/abstract_timer.h"

unaAbstractTimer::unaAbstractTimer(uint32_t interval) : interval_(interval) {}

unaAbstractTimer::~unaAbstractTimer() {
    stop();
}

void unaAbstractTimer::start() {
    std::lock_guard lock(controlMutex_);
    if (running_.load() == 0) {
        running_.store(doStart());
    }
}

void unaAbstractTimer::stop() {
    std::lock_guard lock(controlMutex_);
    if (running_.load() != 0) {
        doStop();
        running_.store(0);
    }
}

void unaAbstractTimer::setInterval(uint32_t ms) {
    std::lock_guard lock(controlMutex_);
    if (ms == interval_.load()) {
        return;
    }
    const bool wasRunning = running_.load() != 0;
    stop();
    try {
        changeInterval(ms);
    } catch (...) {
        if (wasRunning) {
            start();
        }
        throw;
    }
    interval_.store(ms);
    if (wasRunning) {
        start();
    }
}

void unaAbstractTimer::setOnTimer(TimerHandler handler) {
    // Not while a tick may be reading it.
    unaGateLock lock(gate_, kStopWaitMs);
    if (lock.ok()) {
        onTimer_ = std::move(handler);
    }
}

void unaAbstractTimer::doStop() {
    if (gate_.enter(kStopWaitMs)) {
        gate_.leave();
    }
}

void unaAbstractTimer::tick() {
    if (!gate_.enter(int(interval_.load() / 2))) {
        return;  // the previous tick still runs, or stop() waits: skip this one
    }
    try {
        onTick();
        if (onTimer_) {
            onTimer_(*this);
        }
    } catch (...) {
        // the timer thread must never see a handler's error
    }
    gate_.leave();
}
