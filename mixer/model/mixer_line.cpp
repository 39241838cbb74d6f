#include "mixer/model/mixer_line.h"

#include <algorithm>

#include "mixer/model/mixer_device.h"
#include "mixer/model/mixer_names.h"
#include "mixer/model/mixer_system.h"

using namespace qv::platform;

namespace {
constexpr std::size_t kShortNameChars = 15;
constexpr std::size_t kNameChars = 63;
constexpr std::size_t kProductNameChars = 31;
}  // namespace

unaMsMixerLine::unaMsMixerLine(unaMsMixerDevice& device, unsigned sourceIndex, bool isSource,
                               unsigned destinationIndex)
    : device_(device) {
    readLineInfo(sourceIndex, isSource, destinationIndex);
    if (!isSource) {
        enumSources();
    }
    enumControls();
}

void unaMsMixerLine::readLineInfo(unsigned sourceIndex, bool isSource, unsigned destinationIndex) {
    MixerDriver& driver = device_.system().driver();
    const unsigned mixer = device_.deviceIndex();
    MixerLineInfo read;
    const MixerResult result = isSource
                                   ? driver.getSource(mixer, destinationIndex, sourceIndex, read)
                                   : driver.getDestination(mixer, destinationIndex, read);
    if (mixerCallSucceeded(result)) {
        record_ = std::move(read);
        record_.shortName = clipName(record_.shortName, kShortNameChars);
        record_.name = clipName(record_.name, kNameChars);
        record_.target.productName = clipName(record_.target.productName, kProductNameChars);
        return;
    }
    // An unreadable line keeps only where it sits: no name, sources or controls.
    record_ = MixerLineInfo{};
    record_.destination = destinationIndex;
    record_.source = isSource ? sourceIndex : 0;
}

void unaMsMixerLine::enumSources() {
    const std::uint32_t count = std::min(record_.connections, kMaxSources);
    for (std::uint32_t k = count; k-- > 0;) {
        sources_.push_back(std::make_unique<unaMsMixerLine>(device_, k, true, record_.destination));
    }
}

void unaMsMixerLine::enumControls() {
    if (record_.controls == 0) {
        return;
    }
    std::vector<MixerControlInfo> records;
    if (!mixerCallSucceeded(device_.system().driver().getLineControls(device_.deviceIndex(),
                                                                      record_.lineId, records))) {
        return;
    }
    for (MixerControlInfo& control : records) {
        control.shortName = clipName(control.shortName, kShortNameChars);
        control.name = clipName(control.name, kNameChars);
        controls_.push_back(std::make_unique<unaMsMixerControl>(*this, control));
    }
}

unaMsMixerLine* unaMsMixerLine::getSourceLine(unsigned position) const {
    return position < sources_.size() ? sources_[position].get() : nullptr;
}

unaMsMixerControl* unaMsMixerLine::getControl(unsigned position) const {
    return position < controls_.size() ? controls_[position].get() : nullptr;
}
