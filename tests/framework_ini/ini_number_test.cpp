#include "framework/ini/ini_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct NumberCase {
    const char* text;
    std::optional<std::int64_t> expected;
};

class IniNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(IniNumber, Parses) {
    EXPECT_EQ(parseIniNumber(GetParam().text), GetParam().expected)
        << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniNumber,
    ::testing::Values(
        // Plain decimals and blanks around them.
        NumberCase{"44100", 44100}, NumberCase{" \t44100\r\n", 44100}, NumberCase{"0", 0},
        NumberCase{"000", 0}, NumberCase{"-7", -7}, NumberCase{"4294967295", 4294967295},
        // Hexadecimal by "$", "x", "X" or a final "H".
        NumberCase{"$AC44", 44100}, NumberCase{"0xAC44", 44100}, NumberCase{"0XAC44", 44100},
        NumberCase{"AC44h", 44100}, NumberCase{"ac44H", 44100}, NumberCase{"0h", 0},
        NumberCase{"-$10", -16},
        // Letters A-F are digits worth 10-15 in decimal too.
        NumberCase{"1A", 20}, NumberCase{"1e3", 243},
        // The last sign wins; signs and zeros may mix.
        NumberCase{"--5", -5}, NumberCase{"-+5", 5}, NumberCase{"+-5", -5}, NumberCase{"0-5", -5},
        NumberCase{"-0", 0},
        // Silent 64-bit wrap.
        NumberCase{"18446744073709551615", -1}, NumberCase{"18446744073709551616", 0},
        NumberCase{"9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        // Malformed texts.
        NumberCase{"", std::nullopt}, NumberCase{"   ", std::nullopt},
        NumberCase{"-", std::nullopt}, NumberCase{"+", std::nullopt}, NumberCase{"$", std::nullopt},
        NumberCase{"0x", std::nullopt}, NumberCase{"h", std::nullopt},
        NumberCase{"true", std::nullopt}, NumberCase{"2300,5", std::nullopt},
        NumberCase{"12 34", std::nullopt}, NumberCase{"5x", std::nullopt},
        NumberCase{"1.5", std::nullopt}, NumberCase{"G1", std::nullopt}));

TEST(IniNumber, EveryWrittenDecimalReadsBack) {
    for (const std::int64_t value :
         {std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{2300},
          std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()}) {
        EXPECT_EQ(parseIniNumber(std::to_string(value)), value);
    }
}

}  // namespace
