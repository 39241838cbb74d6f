#pragma once

#include <cstdint>
#include <vector>

#include "audio/device/device_header.h"
#include "platform/wave/wave_types.h"

// A buffer exchanged with a capture or playback device: one data block and the
// platform's buffer record, whose flags tell where the buffer is.
class unaWaveHeader : public unaMsAcmDeviceHeader {
  public:
    // A block of size bytes, filled from data when given.
    unaWaveHeader(unaMsAcmStreamDevice* owner, const void* data, uint32_t size);
    ~unaWaveHeader() override;

    bool hasFlag(uint32_t mask) const override { return buffer_.hasFlag(mask); }
    void setFlag(uint32_t mask, bool on) override;
    void rearm() override;
    // Prepared, returned by the system and not queued any more.
    bool isDone() const override;
    bool isQueued() const override;

    platform::WaveBuffer& buffer() { return buffer_; }
    uint8_t* data() { return block_.data(); }
    uint32_t bufferLength() const { return buffer_.bufferLength; }
    void setBufferLength(uint32_t n) { buffer_.bufferLength = n; }
    uint32_t bytesRecorded() const { return buffer_.bytesRecorded; }
    uint32_t capacity() const { return uint32_t(block_.size()); }

  private:
    std::vector<uint8_t> block_;
    platform::WaveBuffer buffer_;
};
