#pragma once

#include <string>
#include <string_view>

// Small text rules shared by the profile reader and writer.
namespace qv::profile {

// Drops characters up to 32 (blanks and control characters) from both ends.
std::string_view trimBlanks(std::string_view text);

// ASCII comparison without regard to case, as profile names are compared.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Removes one pair of matching surrounding quotes (" or ').
std::string_view stripQuotes(std::string_view text);

// What a caller may write without breaking the file's line structure.
bool isWritableSectionName(std::string_view section);
bool isWritableKey(std::string_view key);
bool isWritableValue(std::string_view value);
// A whole "key=value" line given for a section replacement.
bool isWritableSectionLine(std::string_view line);

}  // namespace qv::profile
