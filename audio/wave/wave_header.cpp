#include "audio/wave/wave_header.h"

#include <cstring>

unaWaveHeader::unaWaveHeader(unaMsAcmStreamDevice* owner, const void* data, uint32_t size)
    : unaMsAcmDeviceHeader(owner), block_(size) {
    buffer_.data = block_.data();
    buffer_.bufferLength = size;
    buffer_.user = reinterpret_cast<std::uintptr_t>(this);
    if (data != nullptr && size > 0) {
        std::memcpy(block_.data(), data, size);
    }
}

unaWaveHeader::~unaWaveHeader() {
    // Unprepare while this object is still whole: the base destructor would
    // only reach the base's view of it.
    if (gate().enter(100)) {
        unprepare();
        gate().leave();
    }
}

void unaWaveHeader::setFlag(uint32_t mask, bool on) {
    if (on) {
        buffer_.flags.fetch_or(mask);
    } else {
        buffer_.flags.fetch_and(~mask);
    }
}

void unaWaveHeader::rearm() {
    unaMsAcmDeviceHeader::rearm();
    buffer_.bytesRecorded = 0;
}

bool unaWaveHeader::isDone() const {
    const uint32_t f = buffer_.flags.load();
    return (f & platform::WHDR_DONE) && (f & platform::WHDR_PREPARED) &&
           !(f & platform::WHDR_INQUEUE);
}

bool unaWaveHeader::isQueued() const {
    const uint32_t f = buffer_.flags.load();
    return (f & platform::WHDR_PREPARED) && (f & platform::WHDR_INQUEUE);
}
