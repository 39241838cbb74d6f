#include "framework/core/gate.h"

#include <chrono>

bool unaInProcessGate::enter(int timeoutMs) {
    const auto self = std::this_thread::get_id();
    std::unique_lock lock(mutex_);
    if (depth_ > 0 && owner_ == self) {
        ++depth_;
        return true;
    }
    const auto isFree = [this] { return depth_ == 0; };
    if (timeoutMs < 0) {
        freed_.wait(lock, isFree);
    } else if (!freed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), isFree)) {
        return false;
    }
    owner_ = self;
    depth_ = 1;
    return true;
}

void unaInProcessGate::leave() {
    std::unique_lock lock(mutex_);
    if (depth_ == 0 || owner_ != std::this_thread::get_id()) {
        return;
    }
    if (--depth_ == 0) {
        owner_ = {};
        freed_.notify_one();  // under the lock: the next owner may destroy the gate
    }
}

bool unaInProcessGate::isOwnedByCaller() const {
    std::lock_guard lock(mutex_);
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}
