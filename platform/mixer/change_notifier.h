#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/mixer/mixer_driver.h"

namespace qv::platform {

// A thread that hands queued control IDs to a change callback, so that the
// code raising a change never runs the receiver's callback itself.
class ChangeNotifier {
  public:
    explicit ChangeNotifier(MixerChangeCallback callback);
    ~ChangeNotifier();
    ChangeNotifier(const ChangeNotifier&) = delete;
    ChangeNotifier& operator=(const ChangeNotifier&) = delete;

    void post(std::uint32_t controlId);
    // Ends the thread after the change being delivered; later posts are dropped.
    void stop();

  private:
    void run();

    MixerChangeCallback callback_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::uint32_t> pending_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace qv::platform
