#include "audio/device/device_header.h"

#include "audio/device/stream_device.h"

unaMsAcmDeviceHeader::unaMsAcmDeviceHeader(unaMsAcmStreamDevice* owner) : owner_(owner) {}

unaMsAcmDeviceHeader::~unaMsAcmDeviceHeader() = default;

MMRESULT unaMsAcmDeviceHeader::prepare() {
    return owner_ != nullptr ? owner_->prepareHeader(this) : mmresult::noDriver;
}

MMRESULT unaMsAcmDeviceHeader::unprepare() {
    return owner_ != nullptr ? owner_->unprepareHeader(this) : mmresult::noDriver;
}

void unaMsAcmDeviceHeader::rearm() {
    if (numbering_ && owner_ != nullptr) {
        sequence_.store(owner_->nextHeaderNumber());
    }
    numbering_ = true;
    handled_.store(false);
}
