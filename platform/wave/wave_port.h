#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/clock/platform_clock.h"
#include "platform/wave/wave_types.h"

namespace platform {

// The device-specific half of an open stream: moves bytes between one buffer
// and the device. Every call except wake() comes from the stream's driver
// thread, one at a time.
class WavePort {
  public:
    enum class Event { none, xrun, lost };
    struct Transfer {
        std::size_t bytes = 0;  // whole frames moved
        Event event = Event::none;
    };

    virtual ~WavePort() = default;

    // Get ready to move data (after open, a halt or a recovery).
    virtual Event begin() = 0;
    // Move up to `bytes` bytes; returns within about 100 ms, or soon after wake().
    virtual Transfer transfer(std::uint8_t* data, std::size_t bytes) = 0;
    // Stop moving data and drop what is in flight.
    virtual void halt() = 0;
    // Recover after an xrun; false when the device is gone.
    virtual bool recover() = 0;
    // Called on the idle driver thread every 200 ms or so: false once the device is gone.
    virtual bool alive() = 0;
    // Any thread: make a transfer() in progress return soon.
    virtual void wake() = 0;
    // Playback: frames already moved that have not been heard yet (still in the
    // device's ring or beyond). 0 when the port cannot tell; then a buffer
    // counts as played once it is moved.
    virtual std::uint64_t unplayedFrames() { return 0; }
    // The result that describes a lost device.
    virtual MmResult lostResult() const { return MMSYSERR_NODRIVER; }
};

// Faults a simulated device injects into the stream logic.
struct WaveStreamFaults {
    // Delay of the "opened" notice; nullopt: never sent.
    std::optional<PlatformClock::duration> openNoticeDelay = PlatformClock::duration::zero();
    // 0-based number of the add() call that fails with MMSYSERR_ERROR.
    std::optional<std::uint64_t> failingAdd;
    // 0-based number of the buffer whose return waits for the next one (2, 1, 3).
    std::optional<std::uint64_t> lateCompletion;
};

}  // namespace platform
