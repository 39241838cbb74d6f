#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Result codes of the waveform-audio layer; the values are those of the
// multimedia system the program was designed for, so they can be shown and
// compared as such.
using MmResult = std::uint32_t;
inline constexpr MmResult MMSYSERR_NOERROR = 0;
inline constexpr MmResult MMSYSERR_ERROR = 1;
inline constexpr MmResult MMSYSERR_BADDEVICEID = 2;
inline constexpr MmResult MMSYSERR_ALLOCATED = 4;
inline constexpr MmResult MMSYSERR_INVALHANDLE = 5;
inline constexpr MmResult MMSYSERR_NODRIVER = 6;
inline constexpr MmResult MMSYSERR_NOMEM = 7;
inline constexpr MmResult MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MmResult MMSYSERR_INVALFLAG = 10;
inline constexpr MmResult MMSYSERR_INVALPARAM = 11;
inline constexpr MmResult MMSYSERR_HANDLEBUSY = 12;
inline constexpr MmResult WAVERR_BADFORMAT = 32;
inline constexpr MmResult WAVERR_STILLPLAYING = 33;
inline constexpr MmResult WAVERR_UNPREPARED = 34;
inline constexpr MmResult WAVERR_SYNC = 35;

// The layer's own text for a result code, or empty when the code is not one of
// the layer's (callers then use their own fallback text).
std::string waveResultText(MmResult code);

// Buffer flags.
inline constexpr std::uint32_t WHDR_DONE = 0x01;
inline constexpr std::uint32_t WHDR_PREPARED = 0x02;
inline constexpr std::uint32_t WHDR_INQUEUE = 0x10;

// Open flags. CALLBACK_EVENT is accepted and implied: the completion callback
// given to open() is how every driver signals.
inline constexpr std::uint32_t WAVE_FORMAT_QUERY = 0x0001;
inline constexpr std::uint32_t WAVE_ALLOWSYNC = 0x0002;
inline constexpr std::uint32_t WAVE_MAPPED = 0x0004;
inline constexpr std::uint32_t WAVE_FORMAT_DIRECT = 0x0008;
inline constexpr std::uint32_t CALLBACK_EVENT = 0x00050000;

// Device support flags.
inline constexpr std::uint32_t WAVECAPS_SYNC = 0x0010;

// Device index of the system's default device (the "mapper").
inline constexpr int WAVE_MAPPER = -1;

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

enum class WaveDirection { capture, playback };

// What a device is opened with. Only PCM of 8 bits (unsigned) or 16 bits
// (signed, little-endian) is carried; any other tag or width is refused with
// WAVERR_BADFORMAT.
struct WaveFormat {
    std::uint16_t formatTag = WAVE_FORMAT_PCM;
    std::uint16_t channels = 2;
    std::uint32_t samplesPerSec = 44100;
    std::uint16_t bitsPerSample = 16;

    std::uint32_t blockAlign() const { return channels * bitsPerSample / 8u; }
    std::uint32_t bytesPerSecond() const { return blockAlign() * samplesPerSec; }
    // True for the formats this layer carries at all (a device may still refuse).
    bool isCarried() const;
};

// What a device offers, by index. productName is UTF-8, at most 31 characters.
struct WaveDeviceCaps {
    std::uint16_t manufacturerId = 0;
    std::uint16_t productId = 0;
    std::uint32_t driverVersion = 0;
    std::string productName;
    std::uint32_t formats = 0;  // standard-format bit mask (all bits when any rate converts)
    std::uint16_t channels = 2;
    std::uint32_t support = 0;  // WAVECAPS_* flags (playback only)
};

// A caller-owned buffer, handed to an open device with add() and given back
// through `flags` (WHDR_DONE set, WHDR_INQUEUE clear) and a completion signal.
//
// Caller's guarantees: the buffer and its data block stay alive and untouched
// from add() until WHDR_DONE is seen (or until reset()/close() returned).
// Driver's guarantees: it writes bytesRecorded and the data block before it sets
// WHDR_DONE (release); a reader that sees WHDR_DONE (acquire) sees the data.
struct WaveBuffer {
    std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;   // capture: capacity; playback: bytes to play
    std::uint32_t bytesRecorded = 0;  // capture: bytes filled
    std::uintptr_t user = 0;          // the caller's, untouched
    std::atomic<std::uint32_t> flags{0};

    bool hasFlag(std::uint32_t mask) const { return (flags.load() & mask) != 0; }
};

// Why a device signals its completion callback.
enum class WaveNotice {
    opened,      // the open completed
    bufferDone,  // one buffer came back done (exactly one notice per buffer)
    halted,      // the stream ended on its own (device lost); status() says why
    closed,      // the device closed (sent from the thread that called close())
};

// Called on the driver's own thread with no driver lock held; `user` is the
// returned buffer's user value (bufferDone only, else 0). It must be short and
// must not call back into the stream except status()/position()/xrunCount()
// (signal an event and return, as the program's devices do).
using WaveCallback = std::function<void(WaveNotice notice, std::uintptr_t user)>;

}  // namespace platform

namespace platform {

// Cuts a UTF-8 name to the 31 characters a device name may have.
std::string cutProductName(const std::string& name);

}  // namespace platform
