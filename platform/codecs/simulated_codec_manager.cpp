#include "platform/codecs/simulated_codec_manager.h"

#include <algorithm>

std::uint32_t SimulatedCodecManager::enumDrivers(std::uint32_t flags,
                                                 const DriverVisitor& visit) const {
    lastEnumFlags_ = flags;
    const bool withDisabled = (flags & codecEnumDisabled) != 0;
    for (const Driver& driver : drivers_) {
        if (!driver.enabled && !withDisabled) {
            continue;
        }
        if (!visit(driver.id, driver.supportFlags)) {
            break;
        }
    }
    return enumResult_;
}

std::optional<std::uint32_t> SimulatedCodecManager::maxFormatSize(CodecDriverId driver) const {
    if (driver != allCodecDrivers) {
        const auto found = std::find_if(drivers_.begin(), drivers_.end(),
                                        [driver](const Driver& d) { return d.id == driver; });
        return found == drivers_.end() ? std::nullopt : found->maxFormatSize;
    }
    std::optional<std::uint32_t> largest;
    for (const Driver& candidate : drivers_) {
        if (candidate.enabled && candidate.maxFormatSize) {
            largest = std::max(largest.value_or(0), *candidate.maxFormatSize);
        }
    }
    return largest;
}
