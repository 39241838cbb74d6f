#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/mixer/alsa_mixer_handle.h"
#include "platform/mixer/mixer_driver.h"

namespace qv::platform {

// An open ALSA mixer: a thread that waits on the control device's events
// (polls with a timeout, so it also notices its stop flag) and reports the
// controls of every element whose value changed. It has its own mixer handle,
// so it shares nothing with the queries.
class AlsaMixerWatcher : public MixerConnection {
  public:
    // None when the control device cannot be opened.
    static std::unique_ptr<AlsaMixerWatcher> start(const std::string& ctlName,
                                                   std::shared_ptr<const AlsaMixerLayout> layout,
                                                   MixerChangeCallback callback);
    ~AlsaMixerWatcher() override;

    MixerResult close() override;

  private:
    struct ElementTag {
        AlsaMixerWatcher* watcher;
        unsigned position;  // in the watcher's own handle
    };

    AlsaMixerWatcher() = default;
    void run();
    void noteChange(unsigned position);
    static int onElementEvent(snd_mixer_elem_t* elem, unsigned int mask);

    std::unique_ptr<AlsaMixerHandle> handle_;
    std::shared_ptr<const AlsaMixerLayout> layout_;
    MixerChangeCallback callback_;
    // Control IDs per element of the watcher's handle.
    std::vector<std::vector<std::uint32_t>> controlsOfElement_;
    std::vector<ElementTag> tags_;
    std::vector<std::uint32_t> changed_;
    std::atomic<bool> stop_{false};
    int wakeFd_ = -1;
    std::thread thread_;
};

}  // namespace qv::platform
