#pragma once

// Tests name only the settings they change and rely on the defaults of the rest.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/wave/wave_driver.h"

namespace platform::testing {

// Buffers of one size, owned by the test.
class BufferSet {
  public:
    BufferSet(std::size_t count, std::uint32_t bytes) : blocks_(count) {
        for (std::size_t i = 0; i < count; ++i) {
            blocks_[i].assign(bytes, 0xEE);
            auto& buffer = buffers_.emplace_back();
            buffer.data = blocks_[i].data();
            buffer.bufferLength = bytes;
            buffer.user = i;
        }
    }
    WaveBuffer& operator[](std::size_t i) { return buffers_[i]; }
    std::size_t size() const { return buffers_.size(); }
    const std::vector<std::uint8_t>& block(std::size_t i) const { return blocks_[i]; }

  private:
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::deque<WaveBuffer> buffers_;  // stable addresses
};

// Records the notices of one stream and the order in which buffers came back.
class NoticeLog {
  public:
    WaveCallback callback() {
        return [this](WaveNotice notice, std::uintptr_t user) { record(notice, user); };
    }

    bool waitFor(WaveNotice notice, std::size_t count,
                 std::chrono::seconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return countLocked(notice) >= count; });
    }
    std::size_t count(WaveNotice notice) {
        std::lock_guard lock(mutex_);
        return countLocked(notice);
    }
    std::vector<std::size_t> returnOrder() {
        std::lock_guard lock(mutex_);
        return order_;
    }

  private:
    void record(WaveNotice notice, std::uintptr_t user) {
        std::lock_guard lock(mutex_);
        notices_.push_back(notice);
        if (notice == WaveNotice::bufferDone) {
            order_.push_back(user);
        }
        changed_.notify_all();
    }
    std::size_t countLocked(WaveNotice notice) const {
        std::size_t n = 0;
        for (auto seen : notices_) {
            n += seen == notice;
        }
        return n;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<WaveNotice> notices_;
    std::vector<std::size_t> order_;
};

}  // namespace platform::testing
