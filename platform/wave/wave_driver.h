#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/wave/wave_types.h"

namespace platform {

// An open capture or playback device.
//
// Thread rules:
// - Every call may come from any thread, but the calls of one stream must not
//   overlap with close() or the destructor.
// - The completion callback runs on the stream's own driver thread (the closing
//   notice excepted), once per returned buffer, in the order the buffers were
//   returned, never with a driver lock held. Inside it add(), start(), stop(),
//   pause(), reset() and close() are refused with MMSYSERR_HANDLEBUSY.
// - Buffers come back in the order they were added (one device, one queue;
//   only a simulated fault breaks this, on purpose).
//
// Caller's guarantees:
// - A queued buffer and its data block stay alive and untouched until it comes
//   back done; closing (or destroying) the stream returns every buffer first,
//   so a stream must be closed before the buffers it holds are freed.
// - The callback is short: it signals and returns.
//
// What the driver checks: prepared and not already queued on add(), whole
// frames on prepare(), the format and device index on open.
//
// Run states: a capture stream starts stopped (start() begins filling); a
// playback stream starts playing (added buffers play at once, pause() holds,
// start() resumes). A stream whose device disappeared halts: every queued
// buffer comes back done, the callback gets WaveNotice::halted, status() says
// why, and add() is refused with that code. Over- and underruns are recovered
// and counted by xrunCount(), never fatal.
class WaveStream {
  public:
    virtual ~WaveStream() = default;  // implementations close as close() does

    // Marks the buffer prepared (WHDR_PREPARED); data and bufferLength must be
    // set, and bufferLength must be a whole number of frames.
    virtual MmResult prepare(WaveBuffer& buffer) = 0;
    // WAVERR_STILLPLAYING while the buffer is queued.
    virtual MmResult unprepare(WaveBuffer& buffer) = 0;
    // Queues a prepared buffer: WHDR_DONE cleared, WHDR_INQUEUE set until it
    // comes back (WAVERR_UNPREPARED when not prepared).
    virtual MmResult add(WaveBuffer& buffer) = 0;

    virtual MmResult start() = 0;
    // Capture: stops filling; a partly filled buffer comes back done with what it
    // holds, the others stay queued. Playback: as pause().
    virtual MmResult stop() = 0;
    // Holds the data flow; queued buffers stay queued. Playback loses what the
    // device itself had buffered (at most its own small ring).
    virtual MmResult pause() = 0;
    // Returns every queued buffer done (capture: with the bytes it holds) before
    // it returns, and sets the position to 0. Capture stays stopped; playback
    // plays again what is added next.
    virtual MmResult reset() = 0;

    // Frames moved to or from the device since open or the last reset.
    virtual MmResult position(std::uint64_t& samples) const = 0;
    // Returns every queued buffer done, then closes; the stream can only be
    // destroyed afterwards. No buffer stays in the driver's hands after close.
    virtual MmResult close() = 0;

    // MMSYSERR_NOERROR, or the code that halted the stream.
    virtual MmResult status() const = 0;
    virtual std::uint64_t xrunCount() const = 0;
    virtual const WaveFormat& format() const = 0;
};

struct WaveOpenRequest {
    WaveOpenRequest() = default;
    WaveOpenRequest(WaveDirection direction, int deviceId, const WaveFormat& format,
                    std::uint32_t flags = CALLBACK_EVENT, WaveCallback callback = {})
        : direction(direction),
          deviceId(deviceId),
          format(format),
          flags(flags),
          callback(std::move(callback)) {}

    WaveDirection direction = WaveDirection::capture;
    int deviceId = WAVE_MAPPER;
    WaveFormat format;
    std::uint32_t flags = CALLBACK_EVENT;  // WAVE_FORMAT_QUERY: only check the format
    WaveCallback callback;                 // may be empty
};

// What devices exist and how to open one. A driver outlives the streams it
// opened (streams hold what they need of it). All calls are thread-safe.
class WaveDriver {
  public:
    virtual ~WaveDriver() = default;

    virtual std::string name() const = 0;
    // Devices by index 0..count-1; WAVE_MAPPER (-1) is the system default.
    virtual int deviceCount(WaveDirection direction) = 0;
    virtual MmResult deviceCaps(WaveDirection direction, int deviceId, WaveDeviceCaps& caps) = 0;
    // Opens a device, or with WAVE_FORMAT_QUERY only checks that it accepts the
    // format (stream stays empty). The callback gets WaveNotice::opened once the
    // device is ready.
    virtual MmResult open(const WaveOpenRequest& request, std::unique_ptr<WaveStream>& stream) = 0;
    // The text for a result code, naming the driver's own reason for the last
    // failure with that code when it has one; empty for unknown codes.
    virtual std::string errorText(MmResult code) const { return waveResultText(code); }
};

// The driver the program uses: the one installed with setWaveDriver(), else
// the ALSA driver, created on first use. Thread-safe.
std::shared_ptr<WaveDriver> waveDriver();
// Installs a driver (tests install the simulated one); nullptr returns to ALSA.
void setWaveDriver(std::shared_ptr<WaveDriver> driver);

// Installs a driver for the lifetime of the object.
class ScopedWaveDriver {
  public:
    explicit ScopedWaveDriver(std::shared_ptr<WaveDriver> driver) {
        setWaveDriver(std::move(driver));
    }
    ~ScopedWaveDriver() { setWaveDriver(nullptr); }
    ScopedWaveDriver(const ScopedWaveDriver&) = delete;
    ScopedWaveDriver& operator=(const ScopedWaveDriver&) = delete;
};

}  // namespace platform
