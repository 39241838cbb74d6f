#pragma once

#include <atomic>

#include "framework/core/event.h"
#include "framework/core/gate.h"
#include "framework/core/object.h"

// A queue of bytes between threads: a producer writes blocks of any size, a
// consumer reads any number of bytes from the head. Sizes and positions are
// 32-bit, as the nodes exchange them.
class unaAbstractStream : public unaObject {
  public:
    explicit unaAbstractStream(int lockTimeoutMs = 100) : lockTimeout_(lockTimeoutMs) {}

    // New position: min(position, size) from the beginning, or size - position
    // from the end. The current position when the gate cannot be taken.
    virtual int seek(int position, bool fromBeginning = true);
    // position + delta, limited to 0..size.
    virtual int seekBy(int delta);
    virtual int getPosition() { return position_; }
    virtual void clear() {}
    // Signals dataEvent when size is not 0; returns size.
    virtual int write(const void* data, int size);
    // Copies up to size bytes from the head; remove false leaves them (a peek).
    virtual int read(void* buffer, int size, bool remove = true) = 0;
    virtual int getSize() { return size_; }
    virtual int getAvailableSize() { return getSize(); }

    // -1 takes the stream's own lockTimeout.
    bool lock(int timeoutMs = -1) { return gate_.enter(timeoutMs < 0 ? lockTimeout_ : timeoutMs); }
    void unlock() { gate_.leave(); }

    int lockTimeout() const { return lockTimeout_; }
    unaEvent& dataEvent() { return dataEvent_; }

  protected:
    std::atomic<int> size_{0};
    int position_ = 0;

  private:
    unaEvent dataEvent_{false, false};
    int lockTimeout_;
    unaInProcessGate gate_;
};
