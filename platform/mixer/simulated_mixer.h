#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/mixer/mixer_driver.h"

namespace qv::platform {

// Description of one control of a simulated mixer line.
struct SimulatedControl {
    std::uint32_t type = control_type::volume;
    std::uint32_t flags = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 65535;
    std::string name;
    // List controls: the source index (in the mixer's own order) each item stands for.
    std::vector<unsigned> itemSources;
    // Starting values, channels × items as the driver lays them out; missing ones are 0.
    std::vector<std::uint32_t> values;

    static SimulatedControl volume(std::int32_t minimum, std::int32_t maximum,
                                   std::vector<std::uint32_t> values = {});
    static SimulatedControl mute(bool muted);
    // Single-select source list with one item selected.
    static SimulatedControl mux(std::vector<unsigned> itemSources, unsigned selectedItem);
    // Multiple-select source list; `on` gives the state of each item.
    static SimulatedControl mixerList(std::vector<unsigned> itemSources, std::vector<bool> on);
    // A control of no interest to the program (it only counts).
    static SimulatedControl other(std::string name);
};

struct SimulatedLine {
    std::string name;
    std::uint32_t componentType = component_type::sourceUndefined;
    std::uint32_t targetType = target_type::undefined;
    std::uint32_t channels = 2;
    std::vector<SimulatedControl> controls;
};

struct SimulatedDestination {
    SimulatedLine line;
    std::vector<SimulatedLine> sources;
};

// Calls of one mixer that fail on purpose.
struct SimulatedFaults {
    bool caps = false;
    bool lineInfo = false;
    bool lineControls = false;
    // The next n list-text reads fail.
    unsigned listTextFailures = 0;
    bool values = false;
    bool close = false;
};

struct SimulatedMixer {
    std::string name;
    std::vector<SimulatedDestination> destinations;
    // Mixer identifier; the mixer index when not given.
    std::optional<unsigned> mixerId;
    SimulatedFaults faults;
};

// Short builders for describing simulated mixers in tests.
namespace simulated {

inline SimulatedLine line(std::string name, std::uint32_t componentType,
                          std::vector<SimulatedControl> controls = {}, std::uint32_t channels = 2) {
    SimulatedLine built;
    built.name = std::move(name);
    built.componentType = componentType;
    built.channels = channels;
    built.controls = std::move(controls);
    return built;
}

inline SimulatedDestination destination(SimulatedLine line,
                                        std::vector<SimulatedLine> sources = {}) {
    return SimulatedDestination{std::move(line), std::move(sources)};
}

inline SimulatedMixer mixer(std::string name, std::vector<SimulatedDestination> destinations) {
    SimulatedMixer built;
    built.name = std::move(name);
    built.destinations = std::move(destinations);
    return built;
}

}  // namespace simulated

struct SimulatedWrite {
    unsigned mixer = 0;
    std::uint32_t controlId = 0;
    std::vector<std::uint32_t> values;
};

// Mixers built from a description. Records every write and can change a value
// the way another program would, which notifies every open connection.
class SimulatedMixerDriver : public MixerDriver {
  public:
    // captureMixerIds: the mixer identifier of each capture device, none for a
    // device whose query fails.
    explicit SimulatedMixerDriver(std::vector<SimulatedMixer> mixers,
                                  std::vector<std::optional<unsigned>> captureMixerIds = {});
    ~SimulatedMixerDriver() override;

    unsigned mixerCount() override;
    MixerResult getCaps(unsigned mixer, MixerCaps& caps) override;
    MixerResult getDestination(unsigned mixer, unsigned destination, MixerLineInfo& line) override;
    MixerResult getSource(unsigned mixer, unsigned destination, unsigned source,
                          MixerLineInfo& line) override;
    MixerResult getLineControls(unsigned mixer, std::uint32_t lineId,
                                std::vector<MixerControlInfo>& controls) override;
    MixerResult getListTexts(unsigned mixer, const MixerValueRange& range,
                             std::vector<MixerListText>& texts) override;
    MixerResult getValues(unsigned mixer, const MixerValueRange& range,
                          std::vector<std::uint32_t>& values) override;
    MixerResult setValues(unsigned mixer, const MixerValueRange& range,
                          const std::vector<std::uint32_t>& values) override;
    MixerResult mixerIdOfMixer(unsigned mixer, unsigned& id) override;
    MixerResult mixerIdOfCaptureDevice(unsigned captureDevice, unsigned& id) override;
    unsigned captureDeviceCount() override;
    MixerResult open(unsigned mixer, MixerChangeCallback callback,
                     std::unique_ptr<MixerConnection>& connection) override;

    // Test side.
    // ID of control `position` of a line; source -1 is the destination itself. 0 when absent.
    std::uint32_t controlId(unsigned mixer, unsigned destination, int source,
                            unsigned position) const;
    std::uint32_t lineId(unsigned mixer, unsigned destination, int source) const;
    // Stored values of a control in the driver's layout (channels × items).
    std::vector<std::uint32_t> storedValues(unsigned mixer, std::uint32_t controlId) const;
    std::vector<SimulatedWrite> writes() const;
    void clearWrites();
    // Another program sets the stored values; open connections hear of it.
    void changeFromOutside(unsigned mixer, std::uint32_t controlId,
                           std::vector<std::uint32_t> values);
    void setFaults(unsigned mixer, const SimulatedFaults& faults);
    unsigned openConnectionCount(unsigned mixer) const;
    unsigned listTextReadCount() const;

  private:
    struct Control;
    struct Line;
    struct Mixer;
    class Connection;

    const Mixer* findMixer(unsigned mixer) const;
    const Line* findLine(const Mixer& mixer, std::uint32_t lineId) const;
    Control* findControl(unsigned mixer, std::uint32_t controlId);
    const Control* findControl(unsigned mixer, std::uint32_t controlId) const;
    void notifyLocked(unsigned mixer, std::uint32_t controlId);
    void forget(Connection* connection);

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Mixer>> mixers_;
    std::vector<std::optional<unsigned>> captureMixerIds_;
    std::vector<SimulatedWrite> writes_;
    std::vector<Connection*> connections_;
    unsigned listTextReads_ = 0;
};

}  // namespace qv::platform
