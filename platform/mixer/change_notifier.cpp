#include "platform/mixer/change_notifier.h"

#include <utility>

namespace qv::platform {

ChangeNotifier::ChangeNotifier(MixerChangeCallback callback)
    : callback_(std::move(callback)), thread_([this] { run(); }) {}

ChangeNotifier::~ChangeNotifier() {
    stop();
}

void ChangeNotifier::post(std::uint32_t controlId) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        pending_.push_back(controlId);
    }
    wake_.notify_one();
}

void ChangeNotifier::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

void ChangeNotifier::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (stopping_) {
            return;
        }
        const std::uint32_t controlId = pending_.front();
        pending_.pop_front();
        lock.unlock();
        callback_(controlId);
        lock.lock();
    }
}

}  // namespace qv::platform
