#include "mixer/model/mixer_system.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/mixer/alsa_mixer_driver.h"

using namespace qv::platform;

namespace {

constexpr unsigned kMaxPercent = 100;

bool isListControl(const unaMsMixerControl& control) {
    return control.controlClass() == control_class::list;
}

}  // namespace

unaMsMixerSystem::unaMsMixerSystem(bool enumOnCreate)
    : unaMsMixerSystem(enumOnCreate, std::shared_ptr<MixerDriver>(makeAlsaMixerDriver())) {}

unaMsMixerSystem::unaMsMixerSystem(bool enumOnCreate, std::shared_ptr<MixerDriver> driver)
    : enumOnCreate_(enumOnCreate), driver_(std::move(driver)) {
    if (enumOnCreate_) {
        enumDevices();
    }
}

unaMsMixerSystem::~unaMsMixerSystem() {
    selectMixer(-1);
    devices_.clear();
}

void unaMsMixerSystem::enumDevices() {
    // The selection points into the list being rebuilt.
    selectMixer(-1);
    devices_.clear();
    const unsigned count = driver_->mixerCount();
    for (unsigned index = 0; index < count; ++index) {
        devices_.push_back(std::make_unique<unaMsMixerDevice>(*this, index));
    }
    enumerated_ = true;
}

unaMsMixerDevice* unaMsMixerSystem::getMixer(unsigned index) const {
    return index < devices_.size() ? devices_[index].get() : nullptr;
}

bool unaMsMixerSystem::selectMixer(int index, MixerChangeCallback callback) {
    if (selected_ != nullptr) {
        selected_->setMixerActive(false);
        selected_ = nullptr;
    }
    if (index >= 0 && static_cast<unsigned>(index) < devices_.size()) {
        selected_ = devices_[static_cast<unsigned>(index)].get();
        selected_->setChangeCallback(std::move(callback));
        selected_->setMixerActive(true);
    }
    return selected_ != nullptr;
}

std::string unaMsMixerSystem::getMixerName() const {
    return selected_ == nullptr ? std::string() : selected_->caps().productName;
}

unsigned unaMsMixerSystem::getDestinationCount() const {
    return selected_ == nullptr ? 0 : selected_->getLineCount();
}

// Steps 1-3 of the search: by component type, then the second-choice type, then target.
int unaMsMixerSystem::findDestination(bool forPlayback) const {
    const unaMsMixerLine* line = selected_->findLineByComponentType(
        forPlayback ? component_type::speakers : component_type::waveIn);
    if (line == nullptr) {
        line = selected_->findLineByComponentType(forPlayback ? component_type::headphones
                                                              : component_type::destinationLine);
    }
    if (line == nullptr) {
        line = selected_->findLineByTargetType(forPlayback ? target_type::waveOut
                                                           : target_type::waveIn);
    }
    return line == nullptr ? -1 : static_cast<int>(line->record().destination);
}

int unaMsMixerSystem::getDestinationIndex(bool forPlayback) const {
    if (selected_ == nullptr) {
        return -1;
    }
    const int found = findDestination(forPlayback);
    if (found >= 0) {
        return found;
    }
    // Neither type found: take the destination the other direction leaves free.
    const int other = findDestination(!forPlayback);
    const unsigned count = selected_->getLineCount();
    if (other > 0) {
        return 0;
    }
    if (other == 0) {
        return count >= 2 ? 1 : -1;
    }
    if (forPlayback) {
        return count >= 1 ? 0 : -1;
    }
    return count >= 2 ? 1 : -1;
}

std::string unaMsMixerSystem::getDestinationName(int destination) const {
    return getLineName(destination, -1);
}

unsigned unaMsMixerSystem::getSourceCount(int destination) const {
    const unaMsMixerLine* line = getLine(destination, -1);
    return line == nullptr ? 0 : line->getSourceLineCount();
}

unaMsMixerLine* unaMsMixerSystem::getLine(int destination, int source) const {
    if (selected_ == nullptr || destination < 0) {
        return nullptr;
    }
    unaMsMixerLine* line = selected_->getLine(static_cast<unsigned>(destination));
    if (line == nullptr || source < 0) {
        return line;
    }
    return line->getSourceLine(static_cast<unsigned>(source));
}

std::string unaMsMixerSystem::getLineName(int destination, int source) const {
    const unaMsMixerLine* line = getLine(destination, source);
    return line == nullptr ? std::string() : line->record().name;
}

unaMsMixerControl* unaMsMixerSystem::findControl(int destination, int source,
                                                 std::uint32_t controlType,
                                                 std::uint32_t controlClass) const {
    const unaMsMixerLine* line = getLine(destination, source);
    if (line == nullptr) {
        return nullptr;
    }
    for (unsigned i = 0; i < line->getControlCount(); ++i) {
        unaMsMixerControl* control = line->getControl(i);
        if (control->controlClass() == controlClass && control->controlType() == controlType) {
            return control;
        }
    }
    return nullptr;
}

int unaMsMixerSystem::findSourceByType(int destination, std::uint32_t componentType) const {
    const unaMsMixerLine* line = getLine(destination, -1);
    if (line == nullptr) {
        return -1;
    }
    int best = -1;
    unsigned bestControls = 0;
    for (unsigned s = 0; s < line->getSourceLineCount(); ++s) {
        const unaMsMixerLine* source = line->getSourceLine(s);
        if (source->record().componentType != componentType) {
            continue;
        }
        if (best < 0 || source->getControlCount() > bestControls) {
            best = static_cast<int>(s);
            bestControls = source->getControlCount();
        }
    }
    return best;
}

std::int64_t unaMsMixerSystem::getVolumeControlId(int destination, int source) const {
    const unaMsMixerControl* control =
        findControl(destination, source, control_type::volume, control_class::fader);
    return control == nullptr ? std::int64_t{-1} : std::int64_t{control->controlId()};
}

std::int64_t unaMsMixerSystem::getMuteControlId(int destination, int source) const {
    const unaMsMixerControl* control =
        findControl(destination, source, control_type::mute, control_class::switchClass);
    return control == nullptr ? std::int64_t{-1} : std::int64_t{control->controlId()};
}

int unaMsMixerSystem::getLineVolume(int destination, int source) const {
    unaMsMixerControl* control =
        findControl(destination, source, control_type::volume, control_class::fader);
    if (control == nullptr) {
        return -1;
    }
    const std::int64_t minimum = control->record().minimum;
    const std::int64_t maximum = std::max<std::int64_t>(control->record().maximum, minimum);
    const std::int64_t range = maximum - minimum;
    // Values of a control whose bounds go below zero are signed.
    auto asNumber = [minimum](std::uint32_t value) -> std::int64_t {
        return minimum < 0 ? static_cast<std::int32_t>(value) : static_cast<std::int64_t>(value);
    };
    const int secondChannel = control->detailsChannels() > 1 ? 1 : 0;
    const std::int64_t left = asNumber(control->getUnsigned(0, 0));
    const std::int64_t right = asNumber(control->getUnsigned(secondChannel, 0));
    const std::int64_t average = (left + right) >> 1;
    if (range <= 0 || average <= minimum) {
        return 0;
    }
    return static_cast<int>(std::lround(static_cast<double>(average - minimum) * kMaxPercent /
                                        static_cast<double>(range)));
}

bool unaMsMixerSystem::setLineVolume(int destination, int source, int percent) const {
    unaMsMixerControl* control =
        findControl(destination, source, control_type::volume, control_class::fader);
    if (control == nullptr) {
        return false;
    }
    const std::int64_t minimum = control->record().minimum;
    const std::int64_t maximum = std::max<std::int64_t>(control->record().maximum, minimum);
    const std::int64_t range = maximum - minimum;
    const std::int64_t step = range / kMaxPercent;
    const std::int64_t clamped = std::clamp<std::int64_t>(percent, 0, kMaxPercent);
    // A range narrower than 100 has no whole step per percent: scale it instead
    // of always writing the minimum.
    const std::int64_t offset =
        step != 0 ? step * clamped : (range * clamped + kMaxPercent / 2) / kMaxPercent;
    const auto value = static_cast<std::uint32_t>(offset + minimum);
    control->setUnsigned(value, 0, 0);
    if (control->detailsChannels() > 1) {
        control->setUnsigned(value, 1, 0);
    }
    return true;
}

bool unaMsMixerSystem::getLineMute(int destination, int source) const {
    unaMsMixerControl* control =
        findControl(destination, source, control_type::mute, control_class::switchClass);
    return control == nullptr ? true : control->getBool(0, 0);
}

bool unaMsMixerSystem::setLineMute(int destination, int source, bool muted) const {
    unaMsMixerControl* control =
        findControl(destination, source, control_type::mute, control_class::switchClass);
    if (control == nullptr) {
        return false;
    }
    control->setBool(muted, -1, 0);
    return true;
}

int unaMsMixerSystem::getRecordingSource() const {
    const int recording = getDestinationIndex(false);
    const unaMsMixerLine* line = getLine(recording, -1);
    if (line == nullptr) {
        return -1;
    }
    for (unsigned c = 0; c < line->getControlCount(); ++c) {
        unaMsMixerControl* control = line->getControl(c);
        if (!isListControl(*control)) {
            continue;
        }
        for (std::uint32_t j = 0; j < control->itemCount(); ++j) {
            if (!control->getBool(0, static_cast<int>(j))) {
                continue;
            }
            const MixerListText* item = control->getListItem(0, static_cast<int>(j));
            if (item == nullptr) {
                continue;
            }
            for (unsigned s = 0; s < line->getSourceLineCount(); ++s) {
                if (line->getSourceLine(s)->record().lineId == item->param1) {
                    return static_cast<int>(s);
                }
            }
        }
    }
    return -1;
}

bool unaMsMixerSystem::setRecordingSource(int source) const {
    const int recording = getDestinationIndex(false);
    const unaMsMixerLine* line = getLine(recording, -1);
    const unaMsMixerLine* chosen = source < 0 ? nullptr : getLine(recording, source);
    if (line == nullptr || chosen == nullptr) {
        return false;
    }
    for (unsigned c = 0; c < line->getControlCount(); ++c) {
        unaMsMixerControl* control = line->getControl(c);
        if (!isListControl(*control)) {
            continue;
        }
        for (std::uint32_t j = 0; j < control->itemCount(); ++j) {
            const MixerListText* item = control->getListItem(0, static_cast<int>(j));
            if (item != nullptr && item->param1 == chosen->record().lineId) {
                control->setBool(true, 0, static_cast<int>(j));
                return true;
            }
        }
    }
    return false;
}

int unaMsMixerSystem::getWaveDeviceIndex() const {
    if (selected_ == nullptr) {
        return -2;
    }
    unsigned mixerId = 0;
    if (!unaMsMixerObject::mixerCallSucceeded(
            driver_->mixerIdOfMixer(selected_->deviceIndex(), mixerId))) {
        return -3;
    }
    const unsigned count = driver_->captureDeviceCount();
    for (unsigned i = 0; i < count; ++i) {
        unsigned captureMixerId = 0;
        if (unaMsMixerObject::mixerCallSucceeded(
                driver_->mixerIdOfCaptureDevice(i, captureMixerId)) &&
            captureMixerId == mixerId) {
            return static_cast<int>(i);
        }
    }
    return -3;
}

bool unaMsMixerSystem::canForceMicrophone() const {
    const int recording = getDestinationIndex(false);
    return recording >= 0 && findSourceByType(recording, kMicrophoneType) >= 0;
}
