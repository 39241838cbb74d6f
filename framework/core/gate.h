#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "framework/core/object.h"

// The lock interface. The abstract gate locks nothing and always lets in.
class unaAbstractGate : public unaObject {
  public:
    // Takes the gate; timeoutMs -1 waits without limit. False when not taken in time.
    virtual bool enter(int timeoutMs = -1) {
        (void)timeoutMs;
        return true;
    }
    virtual void leave() {}
};

// A re-entrant lock of this process with timed entry. The owning thread may
// enter again and must leave as often; leave() from any other thread does nothing.
class unaInProcessGate : public unaAbstractGate {
  public:
    bool enter(int timeoutMs = -1) override;
    void leave() override;

    // True when the calling thread holds the gate.
    bool isOwnedByCaller() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    std::thread::id owner_;
    unsigned depth_ = 0;
};

// Enters a gate for one scope. Check ok() before touching what it guards.
class unaGateLock {
  public:
    unaGateLock(unaAbstractGate& gate, int timeoutMs) : gate_(gate), ok_(gate.enter(timeoutMs)) {}
    ~unaGateLock() {
        if (ok_) {
            gate_.leave();
        }
    }
    unaGateLock(const unaGateLock&) = delete;
    unaGateLock& operator=(const unaGateLock&) = delete;

    bool ok() const { return ok_; }

  private:
    unaAbstractGate& gate_;
    bool ok_;
};

// enter() through a gate pointer that may be empty: false when it is.
inline bool enterGate(unaAbstractGate* gate, int timeoutMs) {
    return gate != nullptr && gate->enter(timeoutMs);
}
