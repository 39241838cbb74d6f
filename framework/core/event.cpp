#include "framework/core/event.h"

#include <map>

namespace una_detail {

void EventState::set(bool on) {
    // Notify under the lock: a waiter may destroy the event as soon as it wakes.
    std::lock_guard lock(mutex_);
    signalled_ = on;
    if (on) {
        if (forward_) {
            forward_->set(true);
        }
        if (manualReset_) {
            changed_.notify_all();
        } else {
            changed_.notify_one();
        }
    }
}

void EventState::forwardTo(std::shared_ptr<EventState> target) {
    std::lock_guard lock(mutex_);
    forward_ = std::move(target);
}

bool EventState::wait(int timeoutMs) {
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return signalled_; };
    bool got;
    if (timeoutMs < 0) {
        changed_.wait(lock, ready);
        got = true;
    } else {
        got = changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    if (got && !manualReset_) {
        signalled_ = false;
    }
    return got;
}

}  // namespace una_detail

namespace {

// Named events of this process, so that two events created with one name are
// one event. Entries expire with their last holder.
std::shared_ptr<una_detail::EventState> namedState(const std::wstring& name, bool manualReset,
                                                   bool initialState) {
    static std::mutex mutex;
    static auto* registry = new std::map<std::wstring, std::weak_ptr<una_detail::EventState>>();
    std::lock_guard lock(mutex);
    auto& slot = (*registry)[name];
    if (auto existing = slot.lock()) {
        return existing;
    }
    auto created = std::make_shared<una_detail::EventState>(manualReset, initialState);
    slot = created;
    return created;
}

}  // namespace

unaEvent::unaEvent(bool manualReset, bool initialState, const std::wstring& name)
    : name_(name),
      state_(name.empty() ? std::make_shared<una_detail::EventState>(manualReset, initialState)
                          : namedState(name, manualReset, initialState)) {}
