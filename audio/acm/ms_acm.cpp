#include "audio/acm/ms_acm.h"

#include "audio/format/wave_format.h"

unaMsAcmDriver::unaMsAcmDriver(unaMsAcm& owner, CodecDriverId driverId, std::uint32_t supportFlags)
    : owner_(owner),
      driverId_(driverId),
      supportFlags_(supportFlags),
      maxFormatSize_(maxFormatSize(driverId, owner.codecs())) {}

unaMsAcm::unaMsAcm(const CodecManager& codecs) : codecs_(codecs), version_(codecs.version()) {}

std::uint32_t unaMsAcm::enumDrivers(std::uint32_t flags) {
    drivers_.clear();
    return codecs_.enumDrivers(flags, [this](CodecDriverId id, std::uint32_t supportFlags) {
        drivers_.push_back(std::make_unique<unaMsAcmDriver>(*this, id, supportFlags));
        return true;
    });
}

unaMsAcmDriver* unaMsAcm::getDriver(std::size_t index) const {
    return index < drivers_.size() ? drivers_[index].get() : nullptr;
}
