#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/mixer/mixer_driver.h"

namespace qv::platform {

class AlsaMixerDevice;

// An open ALSA mixer: a thread that waits on the control device's events (polls
// with a timeout and a wake-up descriptor, so it also notices its stop flag)
// and reports the controls whose elements changed. Private to this folder.
class AlsaMixerWatcher : public MixerConnection {
  public:
    // None when no wake-up descriptor can be made.
    static std::unique_ptr<AlsaMixerWatcher> start(AlsaMixerDevice& device,
                                                   MixerChangeCallback callback);
    ~AlsaMixerWatcher() override;

    MixerResult close() override;

    // Queues changed controls and wakes the thread; called by the device, from
    // whichever thread took the events in.
    void post(const std::vector<std::uint32_t>& controlIds);

  private:
    AlsaMixerWatcher(AlsaMixerDevice& device, MixerChangeCallback callback, int wakeFd);
    void run();
    std::vector<std::uint32_t> takePosted();

    AlsaMixerDevice& device_;
    MixerChangeCallback callback_;
    const int wakeFd_;
    std::atomic<bool> stop_{false};
    bool closed_ = false;
    std::mutex mutex_;  // guards posted_
    std::vector<std::uint32_t> posted_;
    std::thread thread_;
};

}  // namespace qv::platform
