#include <gtest/gtest.h>

#include <locale.h>

#include <cctype>

#include <string>

#include "audio/format/format_text.h"

namespace {

struct TagCase {
    std::uint16_t tag;
    const char* text;
};

class FormatTagToText : public ::testing::TestWithParam<TagCase> {};

TEST_P(FormatTagToText, NamesTheTag) {
    EXPECT_EQ(formatTagToText(GetParam().tag), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, FormatTagToText,
    ::testing::Values(TagCase{1, "PCM"}, TagCase{2, "ADPCM"}, TagCase{3, "IEEEF"},
                      TagCase{6, "ALaw"}, TagCase{7, "MuLaw"}, TagCase{8, "DTS"},
                      TagCase{17, "IMA"}, TagCase{34, "DSP.TS"}, TagCase{49, "GSM"},
                      TagCase{66, "G.723"}, TagCase{80, "MPEG"}, TagCase{85, "MP3"},
                      TagCase{112, "VOXW"}, TagCase{113, "VOXW"}, TagCase{115, "VOXW"},
                      TagCase{304, "ACELP"}, TagCase{306, "ACELP"}, TagCase{352, "MSA"},
                      TagCase{0, "#0"}, TagCase{9, "#9"}, TagCase{111, "#111"},
                      TagCase{116, "#116"}, TagCase{303, "#303"}, TagCase{307, "#307"},
                      TagCase{65535, "#65535"}));

// Switches the calling thread's numeric locale for one scope.
class ThreadNumericLocale {
  public:
    explicit ThreadNumericLocale(const char* name)
        : locale_(newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr))) {
        if (locale_ != nullptr) {
            previous_ = uselocale(locale_);
        }
    }
    ~ThreadNumericLocale() {
        if (locale_ != nullptr) {
            uselocale(previous_);
            freelocale(locale_);
        }
    }
    ThreadNumericLocale(const ThreadNumericLocale&) = delete;
    ThreadNumericLocale& operator=(const ThreadNumericLocale&) = delete;

    bool available() const { return locale_ != nullptr; }

  private:
    locale_t locale_;
    locale_t previous_ = nullptr;
};

struct SamplingCase {
    std::uint32_t rate;
    std::uint32_t bits;
    std::uint32_t channels;
    const char* text;  // in the C locale
};

class SamplingToTextInCLocale : public ::testing::TestWithParam<SamplingCase> {};

TEST_P(SamplingToTextInCLocale, GroupsWithCommas) {
    const ThreadNumericLocale c("C");
    ASSERT_TRUE(c.available());
    const SamplingCase& s = GetParam();
    EXPECT_EQ(samplingToText(s.rate, s.bits, s.channels), s.text);
}

INSTANTIATE_TEST_SUITE_P(
    Samplings, SamplingToTextInCLocale,
    ::testing::Values(SamplingCase{44100, 16, 2, "44,100 Hz; 16 Bit; Stereo"},
                      SamplingCase{8000, 8, 1, "8,000 Hz; 8 Bit; Mono"},
                      SamplingCase{999, 8, 1, "999 Hz; 8 Bit; Mono"},
                      SamplingCase{1000, 16, 2, "1,000 Hz; 16 Bit; Stereo"},
                      SamplingCase{0, 0, 0, "0 Hz; 0 Bit; 0 channels"},
                      SamplingCase{192000, 24, 6, "192,000 Hz; 24 Bit; 6 channels"},
                      SamplingCase{4294967295u, 32, 3, "4,294,967,295 Hz; 32 Bit; 3 channels"}));

TEST(FormatToText, JoinsTagAndSampling) {
    const ThreadNumericLocale c("C");
    ASSERT_TRUE(c.available());
    WAVEFORMATEX record{};
    buildPcmFormat(record, 44100, 16, 2);
    EXPECT_EQ(formatToText(record), "PCM: 44,100 Hz; 16 Bit; Stereo");
    record.wFormatTag = 85;
    record.nChannels = 1;
    record.nSamplesPerSec = 22050;
    EXPECT_EQ(formatToText(record), "MP3: 22,050 Hz; 16 Bit; Mono");
}

struct LocaleCase {
    const char* locale;
    const char* text;  // of 44100 Hz, 16 bits, stereo
};

class FormatToTextInLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(FormatToTextInLocale, UsesTheThreadsThousandsSeparator) {
    const ThreadNumericLocale locale(GetParam().locale);
    if (!locale.available()) {
        GTEST_SKIP() << "locale " << GetParam().locale << " is not installed";
    }
    WAVEFORMATEX record{};
    buildPcmFormat(record, 44100, 16, 2);
    EXPECT_EQ(formatToText(record), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, FormatToTextInLocale,
    ::testing::Values(LocaleCase{"C", "PCM: 44,100 Hz; 16 Bit; Stereo"},
                      LocaleCase{"C.UTF-8", "PCM: 44,100 Hz; 16 Bit; Stereo"},
                      LocaleCase{"en_US.UTF-8", "PCM: 44,100 Hz; 16 Bit; Stereo"},
                      LocaleCase{"de_DE.UTF-8", "PCM: 44.100 Hz; 16 Bit; Stereo"},
                      LocaleCase{"es_ES.UTF-8", "PCM: 44.100 Hz; 16 Bit; Stereo"},
                      // A separator of several bytes (U+202F) is kept whole.
                      LocaleCase{"fr_FR.UTF-8", "PCM: 44\u202F100 Hz; 16 Bit; Stereo"}),
    [](const ::testing::TestParamInfo<LocaleCase>& info) {
        std::string name = info.param.locale;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

struct GroupCase {
    std::uint32_t value;
    const char* separator;
    const char* text;
};

class GroupThousands : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupThousands, GroupsByThreeFromTheRight) {
    EXPECT_EQ(groupThousands(GetParam().value, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, GroupThousands,
                         ::testing::Values(GroupCase{0, ".", "0"}, GroupCase{999, ".", "999"},
                                           GroupCase{1000, ".", "1.000"},
                                           GroupCase{100000, "'", "100'000"},
                                           GroupCase{1234567, ".", "1.234.567"},
                                           GroupCase{44100, "\u202F", "44\u202F100"}));

}  // namespace
