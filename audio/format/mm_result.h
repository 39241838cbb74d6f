#pragma once

#include <cstdint>
#include <string>

// Multimedia result codes: 0 is success. The device code answers 6 for a
// buffer header without a device, 11 for a bad argument and 12 when a gate
// or a back end does not answer in time.
using MMRESULT = std::uint32_t;

namespace mmresult {
inline constexpr MMRESULT noError = 0;
inline constexpr MMRESULT error = 1;
inline constexpr MMRESULT badDeviceId = 2;
inline constexpr MMRESULT notEnabled = 3;
inline constexpr MMRESULT allocated = 4;
inline constexpr MMRESULT invalidHandle = 5;
inline constexpr MMRESULT noDriver = 6;
inline constexpr MMRESULT noMemory = 7;
inline constexpr MMRESULT notSupported = 8;
inline constexpr MMRESULT badErrorNumber = 9;
inline constexpr MMRESULT invalidFlag = 10;
inline constexpr MMRESULT invalidParam = 11;
inline constexpr MMRESULT handleBusy = 12;
inline constexpr MMRESULT invalidAlias = 13;
inline constexpr MMRESULT badDatabase = 14;
inline constexpr MMRESULT keyNotFound = 15;
inline constexpr MMRESULT readError = 16;
inline constexpr MMRESULT writeError = 17;
inline constexpr MMRESULT deleteError = 18;
inline constexpr MMRESULT valueNotFound = 19;
inline constexpr MMRESULT noDriverCallback = 20;
// Waveform device results; their texts come from the wave driver, not mmErrorText.
inline constexpr MMRESULT waveBadFormat = 32;
inline constexpr MMRESULT waveStillPlaying = 33;
inline constexpr MMRESULT waveUnprepared = 34;
inline constexpr MMRESULT waveSync = 35;
// Codec manager results.
inline constexpr MMRESULT acmNotPossible = 512;
inline constexpr MMRESULT acmBusy = 513;
inline constexpr MMRESULT acmUnprepared = 514;
inline constexpr MMRESULT acmCanceled = 515;
}  // namespace mmresult

// True exactly for 0.
constexpr bool mmNoError(MMRESULT code) {
    return code == mmresult::noError;
}

// Fixed English text of a code; "unknown error code" for codes without one.
std::string mmErrorText(MMRESULT code);

// "<code>: <text>." e.g. "12: handle being used simultaneously on another thread (eg callback)."
std::string mmErrorTextWithCode(MMRESULT code);
