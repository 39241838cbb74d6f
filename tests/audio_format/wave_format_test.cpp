#include <gtest/gtest.h>

#include <cstring>

#include "audio/format/wave_format.h"
#include "platform/codecs/simulated_codec_manager.h"

namespace {

struct PcmCase {
    std::uint32_t rate;
    std::uint16_t bits;
    std::uint16_t channels;
    std::uint16_t blockAlign;
    std::uint32_t bytesPerSec;
};

class BuildPcmFormat : public ::testing::TestWithParam<PcmCase> {};

TEST_P(BuildPcmFormat, FillsThePcmFieldsAndLeavesCbSizeAlone) {
    const PcmCase& c = GetParam();
    WAVEFORMATEX record{};
    record.cbSize = 0xBEEF;
    WAVEFORMATEX& built = buildPcmFormat(record, c.rate, c.bits, c.channels);
    EXPECT_EQ(&built, &record);
    EXPECT_EQ(record.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(record.nSamplesPerSec, c.rate);
    EXPECT_EQ(record.wBitsPerSample, c.bits);
    EXPECT_EQ(record.nChannels, c.channels);
    EXPECT_EQ(record.nBlockAlign, c.blockAlign);
    EXPECT_EQ(record.nAvgBytesPerSec, c.bytesPerSec);
    EXPECT_EQ(record.cbSize, 0xBEEF);
}

INSTANTIATE_TEST_SUITE_P(Formats, BuildPcmFormat,
                         ::testing::Values(PcmCase{44100, 16, 2, 4, 176400},
                                           PcmCase{22050, 8, 1, 1, 22050},
                                           PcmCase{8000, 12, 1, 1, 8000},  // truncates
                                           PcmCase{48000, 16, 6, 12, 576000},
                                           PcmCase{96000, 32, 2, 8, 768000}));

TEST(BuildPcmFormat, WritesOnlyTheSixteenBytesOfAPcmRecord) {
    FormatPtr record = allocateFormat(pcmFormatSize);  // ASan catches a write to cbSize
    buildPcmFormat(*record, PcmSampling{11025, 8, 2});
    EXPECT_EQ(samplingOf(*record), (PcmSampling{11025, 8, 2}));
}

FormatPtr extendedRecord(std::uint16_t tag, std::uint16_t extraBytes) {
    FormatPtr record = allocateFormat(extendedFormatHeaderSize + extraBytes);
    record->wFormatTag = tag;
    record->nChannels = 1;
    record->nSamplesPerSec = 8000;
    record->wBitsPerSample = 4;
    record->cbSize = extraBytes;
    auto* extra = reinterpret_cast<unsigned char*>(record.get()) + extendedFormatHeaderSize;
    for (std::uint16_t i = 0; i < extraBytes; ++i) {
        extra[i] = static_cast<unsigned char>(i + 1);
    }
    return record;
}

TEST(FormatSize, PcmIsSixteenBytesOthersEighteenPlusExtra) {
    WAVEFORMATEX pcm{};
    buildPcmFormat(pcm, 44100, 16, 2);
    pcm.cbSize = 99;  // ignored for PCM
    EXPECT_EQ(formatSize(pcm), 16u);
    EXPECT_EQ(formatSize(*extendedRecord(2, 32)), 50u);
    EXPECT_EQ(formatSize(*extendedRecord(85, 0)), 18u);
}

TEST(DuplicateFormat, CopiesExactlyFormatSizeBytes) {
    FormatPtr pcm = allocateFormat(pcmFormatSize);
    buildPcmFormat(*pcm, 44100, 16, 2);
    FormatPtr pcmCopy = duplicateFormat(pcm.get());
    ASSERT_TRUE(pcmCopy);
    EXPECT_NE(pcmCopy.get(), pcm.get());
    EXPECT_EQ(std::memcmp(pcmCopy.get(), pcm.get(), 16), 0);

    FormatPtr adpcm = extendedRecord(2, 32);
    FormatPtr adpcmCopy = duplicateFormat(adpcm.get());
    ASSERT_TRUE(adpcmCopy);
    EXPECT_EQ(std::memcmp(adpcmCopy.get(), adpcm.get(), 50), 0);
}

TEST(DuplicateFormat, NullGivesNullAndFreeFormatAcceptsNull) {
    EXPECT_FALSE(duplicateFormat(nullptr));
    EXPECT_TRUE(freeFormat(nullptr));
    EXPECT_TRUE(freeFormat(allocateFormat(18).release()));
}

TEST(SameFormat, IgnoresBlockAlignAndByteRate) {
    WAVEFORMATEX a{};
    WAVEFORMATEX b{};
    buildPcmFormat(a, 44100, 16, 2);
    buildPcmFormat(b, 44100, 16, 2);
    b.nAvgBytesPerSec = 1;
    b.nBlockAlign = 3;
    b.cbSize = 7;  // not part of a PCM record
    EXPECT_TRUE(sameFormat(a, b));
}

TEST(SameFormat, EachSamplingFieldAndTagCounts) {
    WAVEFORMATEX base{};
    buildPcmFormat(base, 44100, 16, 2);
    const auto changed = [&base](auto change) {
        WAVEFORMATEX other = base;
        change(other);
        return other;
    };
    EXPECT_FALSE(sameFormat(base, changed([](WAVEFORMATEX& f) { f.wFormatTag = 3; })));
    EXPECT_FALSE(sameFormat(base, changed([](WAVEFORMATEX& f) { f.nChannels = 1; })));
    EXPECT_FALSE(sameFormat(base, changed([](WAVEFORMATEX& f) { f.nSamplesPerSec = 48000; })));
    EXPECT_FALSE(sameFormat(base, changed([](WAVEFORMATEX& f) { f.wBitsPerSample = 8; })));
}

TEST(SameFormat, NonPcmComparesCbSizeAndEveryExtraByte) {
    FormatPtr a = extendedRecord(2, 32);
    EXPECT_TRUE(sameFormat(*a, *extendedRecord(2, 32)));
    EXPECT_FALSE(sameFormat(*a, *extendedRecord(2, 31)));

    FormatPtr lastByteDiffers = extendedRecord(2, 32);
    reinterpret_cast<unsigned char*>(lastByteDiffers.get())[extendedFormatHeaderSize + 31] ^= 1;
    EXPECT_FALSE(sameFormat(*a, *lastByteDiffers));
}

TEST(MaxFormatSize, AsksTheCodecManagerAndAnswersZeroWhenItCannot) {
    EXPECT_EQ(maxFormatSize(), 0u);  // Linux: no codec manager

    SimulatedCodecManager codecs;
    codecs.addDriver({.id = 5, .supportFlags = 0, .maxFormatSize = 50});
    codecs.addDriver({.id = 6, .supportFlags = 0, .maxFormatSize = std::nullopt});
    EXPECT_EQ(maxFormatSize(allCodecDrivers, codecs), 50u);
    EXPECT_EQ(maxFormatSize(5, codecs), 50u);
    EXPECT_EQ(maxFormatSize(6, codecs), 0u);
}

}  // namespace
