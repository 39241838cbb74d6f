// Feeds arbitrary texts to the settings number parser. Besides not crashing,
// the parser must ignore surrounding blanks and read every written decimal back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/ini/ini_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = parseIniNumber(text);

    if (parseIniNumber(" \t" + std::string(text) + "\r\n") != value) {
        std::abort();
    }
    if (value && parseIniNumber(std::to_string(*value)) != value) {
        std::abort();
    }
    if (size >= sizeof(std::int64_t)) {
        std::int64_t written;
        std::memcpy(&written, data, sizeof written);
        if (parseIniNumber(std::to_string(written)) != written) {
            std::abort();
        }
    }
    return 0;
}
