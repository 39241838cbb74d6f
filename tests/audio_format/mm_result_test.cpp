#include <gtest/gtest.h>

#include <string>

#include "audio/format/mm_result.h"

namespace {

struct ErrorTextCase {
    MMRESULT code;
    const char* text;
};

class MmErrorText : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(MmErrorText, GivesTheFixedText) {
    EXPECT_EQ(mmErrorText(GetParam().code), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MmErrorText,
    ::testing::Values(
        ErrorTextCase{1, "unspecified error"}, ErrorTextCase{2, "device ID out of range"},
        ErrorTextCase{6, "no device driver present"}, ErrorTextCase{8, "function isn't supported"},
        ErrorTextCase{11, "invalid parameter passed"},
        ErrorTextCase{12,
                      "handle being used simultaneously on another thread "
                      "(eg callback)"},
        ErrorTextCase{20, "driver does not call DriverCallback"},
        ErrorTextCase{512, "NOT POSSIBLE"}, ErrorTextCase{513, "BUSY"},
        ErrorTextCase{514, "UNPREPARED"}, ErrorTextCase{515, "CANCELED"},
        // Neighbours of the table and the wave driver's own codes.
        ErrorTextCase{0, "unknown error code"}, ErrorTextCase{21, "unknown error code"},
        ErrorTextCase{32, "unknown error code"}, ErrorTextCase{511, "unknown error code"},
        ErrorTextCase{516, "unknown error code"},
        ErrorTextCase{0xFFFFFFFFu, "unknown error code"}));

TEST(MmErrorTextWithCode, PrefixesTheCodeAndEndsWithAFullStop) {
    EXPECT_EQ(mmErrorTextWithCode(12),
              "12: handle being used simultaneously on another thread (eg callback).");
    EXPECT_EQ(mmErrorTextWithCode(6), "6: no device driver present.");
    EXPECT_EQ(mmErrorTextWithCode(516), "516: unknown error code.");
}

TEST(MmNoError, OnlyZeroIsSuccess) {
    EXPECT_TRUE(mmNoError(0));
    EXPECT_FALSE(mmNoError(1));
    EXPECT_FALSE(mmNoError(0x80000000u));
}

}  // namespace
