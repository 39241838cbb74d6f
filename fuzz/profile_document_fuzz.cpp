// Feeds arbitrary file texts to the profile reader and writer. The input is
// "section\0key\0value\0file text". Checks: an untouched document gives its
// text back byte for byte; a written key reads back as written (blanks and one
// pair of quotes aside); reading the text again gives the same answers; other
// sections keep their lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile/profile_document.h"
#include "platform/profile/profile_text.h"

namespace {

using qv::profile::ProfileDocument;

std::string_view nextField(std::string_view& input) {
    const auto end = input.find('\0');
    const auto field = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return field;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto section = nextField(input);
    const auto key = nextField(input);
    const auto value = nextField(input);
    const auto text = input;

    ProfileDocument document(text);
    check(document.text() == text);
    const auto before = document.value(section, key);
    const auto otherSection = document.sectionLines("other");

    if (qv::profile::isWritableSectionName(section) && qv::profile::isWritableKey(key) &&
        qv::profile::isWritableValue(value)) {
        document.setValue(section, key, value);
        const ProfileDocument reread(document.text());
        const auto expected = qv::profile::stripQuotes(qv::profile::trimBlanks(value));
        check(reread.value(section, key) == std::string(expected));
        if (!qv::profile::equalsIgnoringCase(qv::profile::trimBlanks(section), "other")) {
            check(reread.sectionLines("other") == otherSection);
        }

        std::vector<std::string> lines{std::string(key) + "=" + std::string(value)};
        document.replaceSection(section, lines);
        const ProfileDocument replaced(document.text());
        check(replaced.value(section, key) == std::string(expected));
    } else {
        check(document.value(section, key) == before);
    }
    return 0;
}
