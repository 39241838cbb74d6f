#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/mixer/alsa_mixer_handle.h"
#include "platform/mixer/alsa_mixer_layout.h"
#include "platform/mixer/mixer_driver.h"

namespace qv::platform {

class AlsaMixerWatcher;

// One ALSA control device seen as a mixer device: its handle, its layout, and
// the watchers that want to hear of changes. Queries and watchers share the one
// handle, so a change reported to a watcher is already what a query reads.
// Private to this folder.
class AlsaMixerDevice {
  public:
    // None when the control device cannot be opened.
    static std::unique_ptr<AlsaMixerDevice> open(const std::string& ctlName);
    ~AlsaMixerDevice();
    AlsaMixerDevice(const AlsaMixerDevice&) = delete;
    AlsaMixerDevice& operator=(const AlsaMixerDevice&) = delete;

    const std::string& ctlName() const { return ctlName_; }
    int card() const { return card_; }
    const std::string& name() const { return name_; }
    const AlsaMixerLayout& layout() const { return layout_; }

    MixerResult read(const AlsaControl& control, const MixerValueRange& range,
                     std::vector<std::uint32_t>& values);
    MixerResult write(const AlsaControl& control, const MixerValueRange& range,
                      const std::vector<std::uint32_t>& values);

    // For watchers.
    // The handle's poll descriptors; false when the device is gone.
    bool pollDescriptors(std::vector<struct pollfd>& fds);
    // Takes in the device's events after a poll; false when the device is gone.
    bool takeEvents(std::vector<struct pollfd>& fds);
    void addWatcher(AlsaMixerWatcher* watcher);
    void removeWatcher(AlsaMixerWatcher* watcher);

  private:
    struct ElementTag {
        AlsaMixerDevice* device;
        unsigned position;
    };

    AlsaMixerDevice() = default;
    static int onElementEvent(snd_mixer_elem_t* elem, unsigned int mask);
    // Called while the lock is held (events are only taken under it).
    void noteChange(unsigned position);
    // The control's values as last seen; true when they differ from before.
    bool valuesChanged(const AlsaControl& control);

    std::string ctlName_;
    int card_ = -1;
    std::string name_;
    AlsaMixerLayout layout_;
    std::vector<ElementTag> tags_;

    std::mutex mutex_;  // guards handle_ and watchers_
    std::unique_ptr<AlsaMixerHandle> handle_;
    std::vector<AlsaMixerWatcher*> watchers_;
    // Last values per control ID, so that watchers hear only of real changes.
    std::map<std::uint32_t, std::vector<std::uint32_t>> lastValues_;
};

}  // namespace qv::platform
