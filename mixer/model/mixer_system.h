#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mixer/model/mixer_device.h"
#include "platform/mixer/mixer_driver.h"

// The sound-card mixers of the system and the operations of the recording-source
// dialog on them. Destinations are addressed by index, sources by their position
// in the destination's (reversed) source list, -1 standing for the destination
// itself. Used from one thread only; it takes no locks.
class unaMsMixerSystem {
  public:
    static constexpr std::uint32_t kMicrophoneType = qv::platform::component_type::sourceMicrophone;

    // Over the ALSA mixers of this system.
    explicit unaMsMixerSystem(bool enumOnCreate);
    unaMsMixerSystem(bool enumOnCreate, std::shared_ptr<qv::platform::MixerDriver> driver);
    virtual ~unaMsMixerSystem();
    unaMsMixerSystem(const unaMsMixerSystem&) = delete;
    unaMsMixerSystem& operator=(const unaMsMixerSystem&) = delete;

    // Clears the device list and builds one device per mixer.
    virtual void enumDevices();

    unsigned getMixerCount() const { return static_cast<unsigned>(devices_.size()); }
    unaMsMixerDevice* getMixer(unsigned index) const;
    // Closes the selected mixer, then selects and opens mixer `index`; the callback
    // hears of its control changes (on a thread of the mixer layer). True when
    // a mixer is selected afterwards.
    bool selectMixer(int index, qv::platform::MixerChangeCallback callback = {});
    unaMsMixerDevice* selectedMixer() const { return selected_; }

    std::string getMixerName() const;
    unsigned getDestinationCount() const;
    int getDestinationIndex(bool forPlayback) const;
    std::string getDestinationName(int destination) const;
    unsigned getSourceCount(int destination) const;
    unaMsMixerLine* getLine(int destination, int source) const;
    std::string getLineName(int destination, int source) const;
    unaMsMixerControl* findControl(int destination, int source, std::uint32_t controlType,
                                   std::uint32_t controlClass) const;
    int findSourceByType(int destination, std::uint32_t componentType) const;
    std::int64_t getVolumeControlId(int destination, int source) const;
    std::int64_t getMuteControlId(int destination, int source) const;
    int getLineVolume(int destination, int source) const;
    bool setLineVolume(int destination, int source, int percent) const;
    bool getLineMute(int destination, int source) const;
    bool setLineMute(int destination, int source, bool muted) const;
    int getRecordingSource() const;
    bool setRecordingSource(int source) const;
    // Capture device of the selected mixer: -2 with none selected, -3 when none matches.
    int getWaveDeviceIndex() const;
    // "Force to Microphone" is offered when the recording destination has a microphone line.
    bool canForceMicrophone() const;

    qv::platform::MixerDriver& driver() const { return *driver_; }
    bool enumeratesOnCreate() const { return enumOnCreate_; }
    // True once enumDevices has read the mixers.
    bool isEnumerated() const { return enumerated_; }

  private:
    int findDestination(bool forPlayback) const;

    const bool enumOnCreate_;
    bool enumerated_ = false;
    std::shared_ptr<qv::platform::MixerDriver> driver_;
    std::vector<std::unique_ptr<unaMsMixerDevice>> devices_;
    unaMsMixerDevice* selected_ = nullptr;
};
