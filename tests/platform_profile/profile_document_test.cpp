#include "platform/profile/profile_document.h"

#include <gtest/gtest.h>

namespace qv::profile {
namespace {

struct ReadCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValue) {
    const auto& c = GetParam();
    EXPECT_EQ(ProfileDocument(c.text).value(c.section, c.key), c.expected);
}

const char* const kSample =
    "; settings\n"
    "outside=1\n"
    "[waveOut]\n"
    "deviceId = 3 \n"
    "  fileName=\"  spaced name \"\n"
    "single='x'\n"
    "lonely=\"\n"
    "mixed=\"a'\n"
    "empty=\n"
    "equals=a=b\n"
    "; deviceId=99\n"
    "\n"
    "[ waveIn ] ; recording\n"
    "deviceId=7\n"
    "[waveOut]\n"
    "deviceId=8\n"
    "later=9\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(ReadCase{"blanks_trimmed", kSample, "waveOut", "deviceId", "3"},
                      ReadCase{"names_ignore_case", kSample, "WAVEOUT", "DEVICEID", "3"},
                      ReadCase{"key_with_blanks", kSample, "waveOut", " fileName ",
                               "  spaced name "},
                      ReadCase{"single_quotes", kSample, "waveOut", "single", "x"},
                      ReadCase{"one_quote_kept", kSample, "waveOut", "lonely", "\""},
                      ReadCase{"mixed_quotes_kept", kSample, "waveOut", "mixed", "\"a'"},
                      ReadCase{"present_empty", kSample, "waveOut", "empty", ""},
                      ReadCase{"value_with_equals", kSample, "waveOut", "equals", "a=b"},
                      ReadCase{"header_blanks_and_comment", kSample, "waveIn", "deviceId", "7"},
                      ReadCase{"first_of_two_sections", kSample, "waveOut", "later", std::nullopt},
                      ReadCase{"key_absent", kSample, "waveOut", "missing", std::nullopt},
                      ReadCase{"section_absent", kSample, "delay", "deviceId", std::nullopt},
                      ReadCase{"key_before_sections", kSample, "", "outside", std::nullopt},
                      ReadCase{"empty_key", kSample, "waveOut", "", std::nullopt},
                      ReadCase{"crlf", "[a]\r\nk=v\r\n", "a", "k", "v"},
                      ReadCase{"byte_order_mark", "\xEF\xBB\xBF[a]\nk=v\n", "a", "k", "v"},
                      ReadCase{"unterminated_last_line", "[a]\nk=v", "a", "k", "v"},
                      ReadCase{"empty_text", "", "a", "k", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKey) {
    const auto& c = GetParam();
    ProfileDocument document(c.before);
    document.setValue(c.section, c.key, c.value);
    EXPECT_EQ(document.text(), c.after);
    EXPECT_EQ(ProfileDocument(document.text()).value(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"replace_keeps_spelling_and_spacing",
                  "; top\n[Form]\nWidth = 640 \n# note\nheight=480\n", "form", "WIDTH", "800",
                  "; top\n[Form]\nWidth = 800\n# note\nheight=480\n"},
        WriteCase{"new_key_after_last_key", "[a]\nx=1\n\n; about b\n[b]\ny=2\n", "a", "z", "3",
                  "[a]\nx=1\nz=3\n\n; about b\n[b]\ny=2\n"},
        WriteCase{"new_key_in_empty_section", "[a]\n[b]\n", "a", "z", "3", "[a]\nz=3\n[b]\n"},
        WriteCase{"new_section_at_end", "[a]\nx=1\n", "b", "y", "2", "[a]\nx=1\n\n[b]\ny=2\n"},
        WriteCase{"into_empty_file", "", "skin", "skin", "", "[skin]\nskin=\n"},
        WriteCase{"after_unterminated_line", "[a]\nx=1", "a", "y", "2", "[a]\nx=1\ny=2\n"},
        WriteCase{"keeps_crlf", "[a]\r\nx=1\r\n", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"keeps_mixed_endings", "[a]\r\nx=1\ny=1\r\n", "a", "x", "5",
                  "[a]\r\nx=5\ny=1\r\n"},
        WriteCase{"first_of_two_sections", "[a]\nx=1\n[a]\nx=2\n", "A", "x", "3",
                  "[a]\nx=3\n[a]\nx=2\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileDocument, TextComesBackByteForByte) {
    const std::string text = "\xEF\xBB\xBF; c\r\n[a]\nx = 1 \r\n\n  junk line\n[b";
    EXPECT_EQ(ProfileDocument(text).text(), text);
}

TEST(ProfileDocument, SectionLinesLeaveOutCommentsAndBlanks) {
    ProfileDocument document("[a]\n x=1 \n; c\n\nflag\n[b]\ny=2\n");
    EXPECT_EQ(document.sectionLines("A"), (std::vector<std::string>{"x=1", "flag"}));
    EXPECT_EQ(document.sectionLines("c"), std::nullopt);
}

TEST(ProfileDocument, ReplaceSectionKeepsTheLeadInOfTheNextSection) {
    ProfileDocument document("[a]\nx=1\n; inside\ny=2\n\n; about b\n[b]\nz=3\n");
    document.replaceSection("a", {"k=v", "w=u"});
    EXPECT_EQ(document.text(), "[a]\nk=v\nw=u\n\n; about b\n[b]\nz=3\n");
}

TEST(ProfileDocument, ReplaceMissingSectionAppendsIt) {
    ProfileDocument document("[a]\nx=1");
    document.replaceSection("b", {"k=v"});
    EXPECT_EQ(document.text(), "[a]\nx=1\n\n[b]\nk=v\n");
    document.replaceSection("b", {});
    EXPECT_EQ(document.text(), "[a]\nx=1\n\n[b]\n");
}

}  // namespace
}  // namespace qv::profile
