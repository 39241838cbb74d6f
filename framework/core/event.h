#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "framework/core/object.h"

namespace una_detail {

// The state behind an event. Shared so that a worker thread can keep signalling
// an event whose owning object is already gone, and so that events created with
// the same name share one state, as named system events do.
class EventState {
  public:
    explicit EventState(bool manualReset, bool initialState)
        : manualReset_(manualReset), signalled_(initialState) {}

    void set(bool on);
    // Also signals `target` whenever this state is signalled, so one thread
    // can wait for any of several events. Set before other threads use it.
    void forwardTo(std::shared_ptr<EventState> target);
    // Waits up to timeoutMs (-1: without limit); true when signalled.
    bool wait(int timeoutMs);

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    const bool manualReset_;
    bool signalled_;
    std::shared_ptr<EventState> forward_;
};

}  // namespace una_detail

// An event that threads wait for: auto-reset (one waiter is released and the
// event clears) or manual-reset (stays signalled until reset).
class unaEvent : public unaObject {
  public:
    explicit unaEvent(bool manualReset = false, bool initialState = false,
                      const std::wstring& name = {});

    void setState(bool signalled = true) { state_->set(signalled); }
    // True when the event is signalled within timeoutMs; -1 waits without limit.
    bool waitFor(int timeoutMs) { return state_->wait(timeoutMs); }

    // Signals `any` too whenever this event is signalled: wait on `any`, then
    // test the sources with waitFor(0).
    void forwardTo(unaEvent& any) { state_->forwardTo(any.state_); }

    const std::wstring& name() const { return name_; }
    // The shared state, for holders that must outlive this object.
    std::shared_ptr<una_detail::EventState> state() const { return state_; }

  private:
    std::wstring name_;
    std::shared_ptr<una_detail::EventState> state_;
};
