#include "platform/mixer/simulated_mixer.h"

#include <algorithm>
#include <utility>

#include "platform/mixer/change_notifier.h"

namespace qv::platform {

namespace {

constexpr std::uint32_t kDestinationLineBit = 0xFFFF0000;

std::uint32_t destinationLineId(unsigned destination) {
    return kDestinationLineBit | destination;
}
std::uint32_t sourceLineId(unsigned destination, unsigned source) {
    return (destination << 16) | source;
}

}  // namespace

SimulatedControl SimulatedControl::volume(std::int32_t minimum, std::int32_t maximum,
                                          std::vector<std::uint32_t> values) {
    SimulatedControl control;
    control.type = control_type::volume;
    control.minimum = minimum;
    control.maximum = maximum;
    control.name = "Volume";
    control.values = std::move(values);
    return control;
}

SimulatedControl SimulatedControl::mute(bool muted) {
    SimulatedControl control;
    control.type = control_type::mute;
    control.flags = control_flag::uniform;
    control.minimum = 0;
    control.maximum = 1;
    control.name = "Mute";
    control.values = {muted ? 1u : 0u};
    return control;
}

SimulatedControl SimulatedControl::mux(std::vector<unsigned> itemSources, unsigned selectedItem) {
    SimulatedControl control;
    control.type = control_type::mux;
    control.flags = control_flag::uniform | control_flag::multiple;
    control.minimum = 0;
    control.maximum = static_cast<std::int32_t>(itemSources.size()) - 1;
    control.name = "Recording Source";
    control.values.assign(itemSources.size(), 0);
    if (selectedItem < control.values.size()) {
        control.values[selectedItem] = 1;
    }
    control.itemSources = std::move(itemSources);
    return control;
}

SimulatedControl SimulatedControl::mixerList(std::vector<unsigned> itemSources,
                                             std::vector<bool> on) {
    SimulatedControl control;
    control.type = control_type::mixer;
    control.flags = control_flag::uniform | control_flag::multiple;
    control.minimum = 0;
    control.maximum = static_cast<std::int32_t>(itemSources.size()) - 1;
    control.name = "Recording Sources";
    control.values.assign(itemSources.size(), 0);
    for (std::size_t i = 0; i < on.size() && i < control.values.size(); ++i) {
        control.values[i] = on[i] ? 1 : 0;
    }
    control.itemSources = std::move(itemSources);
    return control;
}

SimulatedControl SimulatedControl::other(std::string name) {
    SimulatedControl control;
    control.type = 0x30030001;  // a generic number control
    control.flags = control_flag::uniform;
    control.name = std::move(name);
    return control;
}

struct SimulatedMixerDriver::Control {
    MixerControlInfo info;
    unsigned channels = 1;
    unsigned items = 0;
    std::vector<std::uint32_t> values;
    std::vector<MixerListText> texts;
};

struct SimulatedMixerDriver::Line {
    MixerLineInfo info;
    std::vector<std::uint32_t> controlIds;
};

struct SimulatedMixerDriver::Mixer {
    std::string name;
    unsigned mixerId = 0;
    SimulatedFaults faults;
    std::vector<Line> destinations;
    std::vector<std::vector<Line>> sources;
    std::map<std::uint32_t, Control> controls;
};

// Delivers the changes of one mixer on its own thread until closed.
class SimulatedMixerDriver::Connection : public MixerConnection {
  public:
    Connection(SimulatedMixerDriver& driver, unsigned mixer, MixerChangeCallback callback)
        : driver_(driver), mixer_(mixer) {
        if (callback) {
            notifier_ = std::make_unique<ChangeNotifier>(std::move(callback));
        }
    }
    ~Connection() override { shutDown(); }

    MixerResult close() override {
        {
            std::lock_guard lock(driver_.mutex_);
            const Mixer* mixer = driver_.findMixer(mixer_);
            if (mixer != nullptr && mixer->faults.close) {
                return mixer_result::error;
            }
        }
        shutDown();
        return mixer_result::ok;
    }

    unsigned mixer() const { return mixer_; }
    // Called with the driver's lock held.
    void post(std::uint32_t controlId) {
        if (notifier_) {
            notifier_->post(controlId);
        }
    }

  private:
    void shutDown() {
        if (closed_) {
            return;
        }
        closed_ = true;
        driver_.forget(this);
        if (notifier_) {
            notifier_->stop();
        }
    }

    SimulatedMixerDriver& driver_;
    const unsigned mixer_;
    std::unique_ptr<ChangeNotifier> notifier_;
    bool closed_ = false;
};

SimulatedMixerDriver::SimulatedMixerDriver(std::vector<SimulatedMixer> mixers,
                                           std::vector<std::optional<unsigned>> captureMixerIds)
    : captureMixerIds_(std::move(captureMixerIds)) {
    for (unsigned m = 0; m < mixers.size(); ++m) {
        SimulatedMixer& description = mixers[m];
        auto mixer = std::make_unique<Mixer>();
        mixer->name = description.name;
        mixer->mixerId = description.mixerId.value_or(m);
        mixer->faults = description.faults;
        std::uint32_t nextControlId = 1;

        auto buildLine = [&](const SimulatedLine& line, unsigned destination,
                             std::optional<unsigned> source, std::size_t connections) {
            Line built;
            MixerLineInfo& info = built.info;
            info.destination = destination;
            info.source = source.value_or(0);
            info.lineId =
                source ? sourceLineId(destination, *source) : destinationLineId(destination);
            info.flags = line_flag::active | (source ? line_flag::source : 0);
            info.componentType = line.componentType;
            info.channels = line.channels;
            info.connections = static_cast<std::uint32_t>(connections);
            info.controls = static_cast<std::uint32_t>(line.controls.size());
            info.shortName = line.name.substr(0, 15);
            info.name = line.name;
            info.target.type = line.targetType;
            for (const SimulatedControl& control : line.controls) {
                Control stored;
                stored.info.controlId = nextControlId++;
                stored.info.type = control.type;
                stored.info.flags = control.flags;
                stored.info.name = control.name;
                stored.info.shortName = control.name.substr(0, 15);
                stored.info.minimum = control.minimum;
                stored.info.maximum = control.maximum;
                stored.info.steps =
                    static_cast<std::uint32_t>(std::max(control.maximum - control.minimum, 0)) + 1;
                stored.channels = (control.flags & control_flag::uniform) ? 1 : line.channels;
                stored.items = static_cast<unsigned>(control.itemSources.size());
                stored.info.multipleItems = stored.items;
                stored.values = control.values;
                stored.values.resize(std::size_t{stored.channels} * std::max(stored.items, 1u), 0);
                built.controlIds.push_back(stored.info.controlId);
                mixer->controls.emplace(stored.info.controlId, std::move(stored));
            }
            return built;
        };

        for (unsigned d = 0; d < description.destinations.size(); ++d) {
            const SimulatedDestination& destination = description.destinations[d];
            mixer->destinations.push_back(
                buildLine(destination.line, d, std::nullopt, destination.sources.size()));
            std::vector<Line> sources;
            for (unsigned s = 0; s < destination.sources.size(); ++s) {
                sources.push_back(buildLine(destination.sources[s], d, s, 0));
            }
            mixer->sources.push_back(std::move(sources));
        }
        // Item texts need the line IDs of the sources, so they come last.
        for (unsigned d = 0; d < mixer->destinations.size(); ++d) {
            auto fillTexts = [&](const Line& line, const SimulatedLine& describedLine) {
                for (std::size_t c = 0; c < line.controlIds.size(); ++c) {
                    Control& control = mixer->controls.at(line.controlIds[c]);
                    const SimulatedControl& described = describedLine.controls[c];
                    for (unsigned source : described.itemSources) {
                        MixerListText text;
                        if (source < mixer->sources[d].size()) {
                            const Line& item = mixer->sources[d][source];
                            text.param1 = item.info.lineId;
                            text.param2 = item.info.componentType;
                            text.name = item.info.name;
                        }
                        control.texts.push_back(text);
                    }
                }
            };
            fillTexts(mixer->destinations[d], description.destinations[d].line);
            for (unsigned s = 0; s < mixer->sources[d].size(); ++s) {
                fillTexts(mixer->sources[d][s], description.destinations[d].sources[s]);
            }
        }
        mixers_.push_back(std::move(mixer));
    }
}

SimulatedMixerDriver::~SimulatedMixerDriver() = default;

const SimulatedMixerDriver::Mixer* SimulatedMixerDriver::findMixer(unsigned mixer) const {
    return mixer < mixers_.size() ? mixers_[mixer].get() : nullptr;
}

const SimulatedMixerDriver::Line* SimulatedMixerDriver::findLine(const Mixer& mixer,
                                                                 std::uint32_t lineId) const {
    for (unsigned d = 0; d < mixer.destinations.size(); ++d) {
        if (mixer.destinations[d].info.lineId == lineId) {
            return &mixer.destinations[d];
        }
        for (const Line& source : mixer.sources[d]) {
            if (source.info.lineId == lineId) {
                return &source;
            }
        }
    }
    return nullptr;
}

SimulatedMixerDriver::Control* SimulatedMixerDriver::findControl(unsigned mixer,
                                                                 std::uint32_t controlId) {
    if (mixer >= mixers_.size()) {
        return nullptr;
    }
    auto found = mixers_[mixer]->controls.find(controlId);
    return found == mixers_[mixer]->controls.end() ? nullptr : &found->second;
}

const SimulatedMixerDriver::Control* SimulatedMixerDriver::findControl(
    unsigned mixer, std::uint32_t controlId) const {
    return const_cast<SimulatedMixerDriver*>(this)->findControl(mixer, controlId);
}

unsigned SimulatedMixerDriver::mixerCount() {
    std::lock_guard lock(mutex_);
    return static_cast<unsigned>(mixers_.size());
}

MixerResult SimulatedMixerDriver::getCaps(unsigned mixer, MixerCaps& caps) {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr) {
        return mixer_result::badDeviceId;
    }
    if (found->faults.caps) {
        return mixer_result::error;
    }
    caps = MixerCaps{};
    caps.productName = found->name;
    caps.destinationCount = static_cast<std::uint32_t>(found->destinations.size());
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::getDestination(unsigned mixer, unsigned destination,
                                                 MixerLineInfo& line) {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr) {
        return mixer_result::badDeviceId;
    }
    if (found->faults.lineInfo || destination >= found->destinations.size()) {
        return mixer_result::invalidLine;
    }
    line = found->destinations[destination].info;
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::getSource(unsigned mixer, unsigned destination, unsigned source,
                                            MixerLineInfo& line) {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr) {
        return mixer_result::badDeviceId;
    }
    if (found->faults.lineInfo || destination >= found->destinations.size() ||
        source >= found->sources[destination].size()) {
        return mixer_result::invalidLine;
    }
    line = found->sources[destination][source].info;
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::getLineControls(unsigned mixer, std::uint32_t lineId,
                                                  std::vector<MixerControlInfo>& controls) {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr) {
        return mixer_result::badDeviceId;
    }
    const Line* line = findLine(*found, lineId);
    if (found->faults.lineControls || line == nullptr) {
        return mixer_result::invalidLine;
    }
    controls.clear();
    for (std::uint32_t id : line->controlIds) {
        controls.push_back(found->controls.at(id).info);
    }
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::getListTexts(unsigned mixer, const MixerValueRange& range,
                                               std::vector<MixerListText>& texts) {
    std::lock_guard lock(mutex_);
    ++listTextReads_;
    Control* control = findControl(mixer, range.controlId);
    if (control == nullptr || control->texts.empty() || range.items != control->items) {
        return mixer_result::invalidControl;
    }
    SimulatedFaults& faults = mixers_[mixer]->faults;
    if (faults.listTextFailures > 0) {
        --faults.listTextFailures;
        return mixer_result::error;
    }
    texts.clear();
    for (unsigned c = 0; c < range.channels; ++c) {
        texts.insert(texts.end(), control->texts.begin(), control->texts.end());
    }
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::getValues(unsigned mixer, const MixerValueRange& range,
                                            std::vector<std::uint32_t>& values) {
    std::lock_guard lock(mutex_);
    const Control* control = findControl(mixer, range.controlId);
    if (control == nullptr || range.items != control->items) {
        return mixer_result::invalidControl;
    }
    if (mixers_[mixer]->faults.values) {
        return mixer_result::error;
    }
    const unsigned items = std::max(control->items, 1u);
    values.assign(range.valueCount(), 0);
    for (unsigned c = 0; c < range.channels; ++c) {
        const unsigned storedChannel = std::min(c, control->channels - 1);
        for (unsigned i = 0; i < items; ++i) {
            values[i + c * items] = control->values[i + storedChannel * items];
        }
    }
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::setValues(unsigned mixer, const MixerValueRange& range,
                                            const std::vector<std::uint32_t>& values) {
    std::lock_guard lock(mutex_);
    Control* control = findControl(mixer, range.controlId);
    if (control == nullptr || range.items != control->items ||
        values.size() != range.valueCount()) {
        return mixer_result::invalidControl;
    }
    if (mixers_[mixer]->faults.values) {
        return mixer_result::error;
    }
    writes_.push_back({mixer, range.controlId, values});
    const unsigned items = std::max(control->items, 1u);
    const std::vector<std::uint32_t> before = control->values;
    for (unsigned c = 0; c < range.channels && c < control->channels; ++c) {
        for (unsigned i = 0; i < items; ++i) {
            control->values[i + c * items] = values[i + c * items];
        }
    }
    if (control->values != before) {
        notifyLocked(mixer, range.controlId);
    }
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::mixerIdOfMixer(unsigned mixer, unsigned& id) {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr) {
        return mixer_result::badDeviceId;
    }
    id = found->mixerId;
    return mixer_result::ok;
}

MixerResult SimulatedMixerDriver::mixerIdOfCaptureDevice(unsigned captureDevice, unsigned& id) {
    std::lock_guard lock(mutex_);
    if (captureDevice >= captureMixerIds_.size()) {
        return mixer_result::badDeviceId;
    }
    if (!captureMixerIds_[captureDevice]) {
        return mixer_result::noDriver;
    }
    id = *captureMixerIds_[captureDevice];
    return mixer_result::ok;
}

unsigned SimulatedMixerDriver::captureDeviceCount() {
    std::lock_guard lock(mutex_);
    return static_cast<unsigned>(captureMixerIds_.size());
}

MixerResult SimulatedMixerDriver::open(unsigned mixer, MixerChangeCallback callback,
                                       std::unique_ptr<MixerConnection>& connection) {
    std::lock_guard lock(mutex_);
    if (findMixer(mixer) == nullptr) {
        return mixer_result::badDeviceId;
    }
    auto opened = std::make_unique<Connection>(*this, mixer, std::move(callback));
    connections_.push_back(opened.get());
    connection = std::move(opened);
    return mixer_result::ok;
}

void SimulatedMixerDriver::forget(Connection* connection) {
    std::lock_guard lock(mutex_);
    std::erase(connections_, connection);
}

void SimulatedMixerDriver::notifyLocked(unsigned mixer, std::uint32_t controlId) {
    for (Connection* connection : connections_) {
        if (connection->mixer() == mixer) {
            connection->post(controlId);
        }
    }
}

std::uint32_t SimulatedMixerDriver::controlId(unsigned mixer, unsigned destination, int source,
                                              unsigned position) const {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr || destination >= found->destinations.size()) {
        return 0;
    }
    const Line* line = nullptr;
    if (source < 0) {
        line = &found->destinations[destination];
    } else if (static_cast<unsigned>(source) < found->sources[destination].size()) {
        line = &found->sources[destination][static_cast<unsigned>(source)];
    }
    if (line == nullptr || position >= line->controlIds.size()) {
        return 0;
    }
    return line->controlIds[position];
}

std::uint32_t SimulatedMixerDriver::lineId(unsigned mixer, unsigned destination, int source) const {
    std::lock_guard lock(mutex_);
    const Mixer* found = findMixer(mixer);
    if (found == nullptr || destination >= found->destinations.size()) {
        return 0;
    }
    if (source < 0) {
        return found->destinations[destination].info.lineId;
    }
    const auto& sources = found->sources[destination];
    return static_cast<unsigned>(source) < sources.size()
               ? sources[static_cast<unsigned>(source)].info.lineId
               : 0;
}

std::vector<std::uint32_t> SimulatedMixerDriver::storedValues(unsigned mixer,
                                                              std::uint32_t controlId) const {
    std::lock_guard lock(mutex_);
    const Control* control = findControl(mixer, controlId);
    return control == nullptr ? std::vector<std::uint32_t>{} : control->values;
}

std::vector<SimulatedWrite> SimulatedMixerDriver::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

void SimulatedMixerDriver::clearWrites() {
    std::lock_guard lock(mutex_);
    writes_.clear();
}

void SimulatedMixerDriver::changeFromOutside(unsigned mixer, std::uint32_t controlId,
                                             std::vector<std::uint32_t> values) {
    std::lock_guard lock(mutex_);
    Control* control = findControl(mixer, controlId);
    if (control == nullptr) {
        return;
    }
    values.resize(control->values.size(), 0);
    control->values = std::move(values);
    notifyLocked(mixer, controlId);
}

void SimulatedMixerDriver::setFaults(unsigned mixer, const SimulatedFaults& faults) {
    std::lock_guard lock(mutex_);
    if (mixer < mixers_.size()) {
        mixers_[mixer]->faults = faults;
    }
}

unsigned SimulatedMixerDriver::openConnectionCount(unsigned mixer) const {
    std::lock_guard lock(mutex_);
    return static_cast<unsigned>(std::count_if(
        connections_.begin(), connections_.end(),
        [mixer](const Connection* connection) { return connection->mixer() == mixer; }));
}

unsigned SimulatedMixerDriver::listTextReadCount() const {
    std::lock_guard lock(mutex_);
    return listTextReads_;
}

}  // namespace qv::platform
