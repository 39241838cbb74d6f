#include "platform/profile/profile_text.h"

namespace qv::profile {

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool breaksLines(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool startsLikeNonKey(std::string_view trimmed) {
    return !trimmed.empty() &&
           (trimmed.front() == '[' || trimmed.front() == ';' || trimmed.front() == '#');
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view stripQuotes(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool isWritableSectionName(std::string_view section) {
    return !breaksLines(section) && section.find(']') == std::string_view::npos;
}

bool isWritableKey(std::string_view key) {
    const auto trimmed = trimBlanks(key);
    return !trimmed.empty() && !breaksLines(key) && key.find('=') == std::string_view::npos &&
           !startsLikeNonKey(trimmed);
}

bool isWritableValue(std::string_view value) {
    return !breaksLines(value);
}

bool isWritableSectionLine(std::string_view line) {
    const auto trimmed = trimBlanks(line);
    return !trimmed.empty() && !breaksLines(line) && trimmed.front() != '[';
}

}  // namespace qv::profile
