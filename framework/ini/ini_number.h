#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reads a settings number. Lenient on purpose, as settings files written by
// hand or by older versions hold such texts:
// - blanks (characters up to 32) around the text are ignored;
// - a final "H" or "h" means hexadecimal;
// - leading "0", "+", "-", "$", "x", "X" are skipped (never the last
//   character): the last sign wins, "$", "x" and "X" mean hexadecimal;
// - every digit is 0-9 or A-F in either case, with A-F worth 10-15 even in
//   decimal (so "1A" is 20);
// - the value wraps silently at 64 bits.
// Nothing when the text is empty or breaks these rules.
std::optional<std::int64_t> parseIniNumber(std::string_view text);
