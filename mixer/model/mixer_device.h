#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mixer/model/mixer_line.h"
#include "mixer/model/mixer_object.h"
#include "platform/mixer/mixer_driver.h"

class unaMsMixerSystem;

// One mixer (sound card) with its destination lines, read when it is built.
// Opening it only starts the change notifications: queries address the mixer
// by its index whether it is open or not.
class unaMsMixerDevice : public unaMsMixerObject {
  public:
    unaMsMixerDevice(unaMsMixerSystem& system, unsigned deviceIndex);
    virtual ~unaMsMixerDevice();
    unaMsMixerDevice(const unaMsMixerDevice&) = delete;
    unaMsMixerDevice& operator=(const unaMsMixerDevice&) = delete;

    virtual void openMixer();
    virtual void closeMixer();
    // Opens or closes the mixer when its state differs.
    void setMixerActive(bool active);
    bool isMixerOpen() const { return connection_ != nullptr; }

    // Receives the IDs of changed controls while the mixer is open (see
    // MixerChangeCallback for the thread it runs on). Empty: no notifications.
    void setChangeCallback(qv::platform::MixerChangeCallback callback) {
        callback_ = std::move(callback);
    }

    unsigned deviceIndex() const { return deviceIndex_; }
    const qv::platform::MixerCaps& caps() const { return caps_; }
    unaMsMixerSystem& system() const { return system_; }

    unsigned getLineCount() const { return static_cast<unsigned>(lines_.size()); }
    unaMsMixerLine* getLine(unsigned destination) const;
    // First destination line with that component (target) type, or none.
    unaMsMixerLine* findLineByComponentType(std::uint32_t componentType) const;
    unaMsMixerLine* findLineByTargetType(std::uint32_t targetType) const;

  private:
    void readMixerCaps();
    void enumLines();

    const unsigned deviceIndex_;
    std::unique_ptr<qv::platform::MixerConnection> connection_;
    qv::platform::MixerChangeCallback callback_;
    qv::platform::MixerCaps caps_;
    unaMsMixerSystem& system_;
    std::vector<std::unique_ptr<unaMsMixerLine>> lines_;
};
