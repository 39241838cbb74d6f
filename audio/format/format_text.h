#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "audio/format/wave_format.h"

// Short name of a format tag ("PCM", "MP3", ...); "#<tag>" for tags without one.
std::string formatTagToText(std::uint16_t tag);

// "44,100 Hz; 16 Bit; Stereo". The rate's digits are grouped by three with
// the first character of the calling thread's locale thousands separator
// (LC_NUMERIC), or "," when the locale has none. Channels read "Mono",
// "Stereo" or "<n> channels".
std::string samplingToText(std::uint32_t samplesPerSec, std::uint32_t bitsPerSample,
                           std::uint32_t channels);

// "<tag text>: <sampling text>", e.g. "PCM: 44,100 Hz; 16 Bit; Stereo".
std::string formatToText(const WAVEFORMATEX& record);

// Decimal digits grouped by three from the right, joined by `separator`.
std::string groupThousands(std::uint32_t value, std::string_view separator);

// The separator samplingToText uses: the first character (a whole UTF-8
// sequence in a UTF-8 locale) of the locale's thousands separator, or ",".
std::string localeThousandsSeparator();
