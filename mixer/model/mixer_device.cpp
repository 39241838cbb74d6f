#include "mixer/model/mixer_device.h"

#include "mixer/model/mixer_names.h"
#include "mixer/model/mixer_system.h"

using namespace qv::platform;

namespace {
constexpr std::size_t kProductNameChars = 31;
}  // namespace

unaMsMixerDevice::unaMsMixerDevice(unaMsMixerSystem& system, unsigned deviceIndex)
    : deviceIndex_(deviceIndex), system_(system) {
    readMixerCaps();
    enumLines();
}

unaMsMixerDevice::~unaMsMixerDevice() {
    closeMixer();
    // A connection whose close failed still ends its notifications when freed.
    connection_.reset();
    lines_.clear();
}

void unaMsMixerDevice::readMixerCaps() {
    MixerCaps read;
    if (mixerCallSucceeded(system_.driver().getCaps(deviceIndex_, read))) {
        caps_ = std::move(read);
        caps_.productName = clipName(caps_.productName, kProductNameChars);
    }
}

void unaMsMixerDevice::enumLines() {
    for (std::uint32_t d = 0; d < caps_.destinationCount; ++d) {
        lines_.push_back(std::make_unique<unaMsMixerLine>(*this, 0, false, d));
    }
}

void unaMsMixerDevice::openMixer() {
    std::unique_ptr<MixerConnection> opened;
    if (mixerCallSucceeded(system_.driver().open(deviceIndex_, callback_, opened))) {
        connection_ = std::move(opened);
    }
}

void unaMsMixerDevice::closeMixer() {
    if (connection_ && mixerCallSucceeded(connection_->close())) {
        connection_.reset();
    }
}

void unaMsMixerDevice::setMixerActive(bool active) {
    if (active == isMixerOpen()) {
        return;
    }
    if (active) {
        openMixer();
    } else {
        closeMixer();
    }
}

unaMsMixerLine* unaMsMixerDevice::getLine(unsigned destination) const {
    return destination < lines_.size() ? lines_[destination].get() : nullptr;
}

unaMsMixerLine* unaMsMixerDevice::findLineByComponentType(std::uint32_t componentType) const {
    for (const auto& line : lines_) {
        if (line->record().componentType == componentType) {
            return line.get();
        }
    }
    return nullptr;
}

unaMsMixerLine* unaMsMixerDevice::findLineByTargetType(std::uint32_t targetType) const {
    for (const auto& line : lines_) {
        if (line->record().target.type == targetType) {
            return line.get();
        }
    }
    return nullptr;
}
