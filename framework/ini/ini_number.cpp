#include "framework/ini/ini_number.h"

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::optional<unsigned> digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> parseIniNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::uint64_t base = 10;
    if (!text.empty() && (text.back() == 'H' || text.back() == 'h')) {
        base = 16;
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }

    bool negative = false;
    std::size_t i = 0;
    for (; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (c == '+' || c == '-') {
            negative = c == '-';
        } else if (c == '$' || c == 'x' || c == 'X') {
            base = 16;
        } else if (c != '0') {
            break;
        }
    }

    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const auto digit = digitValue(text[i]);
        if (!digit) {
            return std::nullopt;
        }
        value = value * base + *digit;
    }
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}
