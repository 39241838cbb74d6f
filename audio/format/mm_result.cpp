#include "audio/format/mm_result.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 21> systemTexts = {
    "",  // 0 is success and has no entry
    "unspecified error",
    "device ID out of range",
    "driver failed enable",
    "device already allocated",
    "device handle is invalid",
    "no device driver present",
    "memory allocation error",
    "function isn't supported",
    "error value out of range",
    "invalid flag passed",
    "invalid parameter passed",
    "handle being used simultaneously on another thread (eg callback)",
    "specified alias not found",
    "bad registry database",
    "registry key not found",
    "registry read error",
    "registry write error",
    "registry delete error",
    "registry value not found",
    "driver does not call DriverCallback",
};

constexpr std::array<std::string_view, 4> codecTexts = {
    "NOT POSSIBLE",
    "BUSY",
    "UNPREPARED",
    "CANCELED",
};

}  // namespace

std::string mmErrorText(MMRESULT code) {
    if (code >= mmresult::error && code < systemTexts.size()) {
        return std::string(systemTexts[code]);
    }
    if (code >= mmresult::acmNotPossible && code <= mmresult::acmCanceled) {
        return std::string(codecTexts[code - mmresult::acmNotPossible]);
    }
    return "unknown error code";
}

std::string mmErrorTextWithCode(MMRESULT code) {
    return std::to_string(code) + ": " + mmErrorText(code) + ".";
}
