#pragma once

#include <cstddef>
#include <string>

// The name fields of mixer records hold a limited number of characters; a
// longer UTF-8 name is cut at a character boundary.
std::string clipName(const std::string& name, std::size_t maxChars);
