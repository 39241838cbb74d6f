#include <sndfile.h>

#include <fstream>

#include "riff_test_support.h"

namespace {

struct FormatCase {
    const char* name;
    std::uint32_t rate;
    std::uint16_t bits;
    std::uint16_t channels;
    std::uint32_t chunkSize;
    std::uint32_t bytes;  // fed in chunks, the last one possibly short
};

class RiffFormats : public RiffTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(RiffFormats, WritesHeaderAndAudioThatOtherReadersAgreeOn) {
    const FormatCase& c = GetParam();
    const auto path = file("take.wav");
    unaRiffStream writer(path, pcmFormat(c.rate, c.bits, c.channels));
    ASSERT_EQ(writer.chunkSize(), c.chunkSize);
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_TRUE(feed(writer, 0, c.bytes, c.chunkSize));
    ASSERT_EQ(writer.close(10000), 0u);
    EXPECT_EQ(writer.getPosition(), c.bytes);

    const RiffFields fields = readRiffFields(path);
    EXPECT_EQ(fields.fileSize, 44u + c.bytes);  // no pad byte after odd data
    EXPECT_EQ(fields.riffId, "RIFF");
    EXPECT_EQ(fields.riffSize, 36u + c.bytes);
    EXPECT_EQ(fields.waveId, "WAVE");
    EXPECT_EQ(fields.fmtId, "fmt ");
    EXPECT_EQ(fields.fmtSize, 16u);
    const WAVEFORMATEX format = pcmFormat(c.rate, c.bits, c.channels);
    EXPECT_EQ(fields.fmt, Bytes(reinterpret_cast<const std::uint8_t*>(&format),
                                reinterpret_cast<const std::uint8_t*>(&format) + 16));
    EXPECT_EQ(fields.dataId, "data");
    EXPECT_EQ(fields.dataSize, c.bytes);

    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.format, SF_FORMAT_WAV | (c.bits == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16));
    EXPECT_EQ(view.sampleRate, int(c.rate));
    EXPECT_EQ(view.channels, int(c.channels));
    const std::uint32_t frameBytes = c.channels * c.bits / 8u;
    EXPECT_EQ(view.frames, c.bytes / frameBytes);
    EXPECT_EQ(view.data, streamBytes(0, c.bytes));

    EXPECT_EQ(soxiField(path, 'r'), std::to_string(c.rate));
    EXPECT_EQ(soxiField(path, 'c'), std::to_string(c.channels));
    EXPECT_EQ(soxiField(path, 'b'), std::to_string(c.bits));
    EXPECT_EQ(soxiField(path, 's'), std::to_string(c.bytes / frameBytes));
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, RiffFormats,
    ::testing::Values(FormatCase{"OneSecondCdStereo", 44100, 16, 2, 7056, 176400},
                      FormatCase{"OddEightBitMono", 22050, 8, 1, 882, 11025},
                      FormatCase{"SixteenBitMonoWithShortLastPiece", 48000, 16, 1, 3840, 10000},
                      FormatCase{"EightBitStereo", 8000, 8, 2, 640, 3000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RiffTest, ExistingFileIsOverwrittenAtOpenNotAtConstruction) {
    const auto path = file("old.wav");
    const Bytes old(1000, 0x5A);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(old.data()), 1000);

    unaRiffStream writer(path, pcmFormat(44100, 16, 2));
    EXPECT_EQ(readWholeFile(path), old);

    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_EQ(writer.close(10000), 0u);
    const RiffFields fields = readRiffFields(path);
    EXPECT_EQ(fields.fileSize, 44u);
    EXPECT_EQ(fields.riffSize, 36u);
    EXPECT_EQ(fields.dataSize, 0u);
    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.frames, 0);
}

TEST_F(RiffTest, ConstructionCreatesAMissingFile) {
    const auto path = file("new.wav");
    unaRiffStream writer(path, pcmFormat(44100, 16, 2));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(RiffTest, ReopeningStartsTheFileOverWithOnlyTheNewAudio) {
    const auto path = file("again.wav");
    unaRiffStream writer(path, pcmFormat(44100, 16, 2));
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_TRUE(feed(writer, 0, 3 * 7056, 7056));
    ASSERT_EQ(writer.close(10000), 0u);

    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    EXPECT_EQ(writer.getPosition(), 0);
    ASSERT_TRUE(feed(writer, 500000, 2 * 7056, 7056));
    ASSERT_EQ(writer.close(10000), 0u);

    EXPECT_EQ(writer.getPosition(), 2 * 7056);
    EXPECT_EQ(readRiffFields(path).dataSize, 2u * 7056);
    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.data, streamBytes(500000, 2 * 7056));
}

// A stop right after the last chunks arrived writes them all: nothing that
// reached the writer is thrown away.
TEST_F(RiffTest, StopWritesEverythingThatReachedTheWriter) {
    const auto path = file("stop.wav");
    constexpr std::uint32_t kBytes = 100 * 7056;
    unaRiffStream writer(path, pcmFormat(44100, 16, 2));
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_TRUE(feed(writer, 0, kBytes, 7056));
    ASSERT_EQ(writer.close(10000), 0u);

    EXPECT_EQ(writer.getPosition(), kBytes);
    EXPECT_EQ(readRiffFields(path).dataSize, kBytes);
    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.data, streamBytes(0, kBytes));
}

TEST_F(RiffTest, ChunksAreRefusedOnceClosed) {
    unaRiffStream writer(file("closed.wav"), pcmFormat(44100, 16, 2));
    const Bytes chunk = streamBytes(0, 7056);
    EXPECT_EQ(writer.acceptChunk(chunk.data(), 7056), 0);
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_EQ(writer.close(10000), 0u);
    EXPECT_EQ(writer.acceptChunk(chunk.data(), 7056), 0);
    EXPECT_EQ(readRiffFields(file("closed.wav")).dataSize, 0u);
}

struct BadNameCase {
    const char* name;
    std::function<std::filesystem::path(const std::filesystem::path& dir)> path;
    bool hasFile;
};

class RiffBadNames : public RiffTest, public ::testing::WithParamInterface<BadNameCase> {};

TEST_P(RiffBadNames, OpenReturnsInvalidParameterAndStaysClosed) {
    const BadNameCase& c = GetParam();
    const auto before = std::filesystem::current_path();
    unaRiffStream writer(c.path(dir_), pcmFormat(44100, 16, 2));
    EXPECT_EQ(writer.hasFile(), c.hasFile);
    EXPECT_EQ(writer.open(false, 10000, 0), 11u);
    EXPECT_EQ(writer.getErrorText(11), "invalid parameter passed");
    EXPECT_FALSE(writer.isOpen());
    const Bytes chunk = streamBytes(0, 7056);
    EXPECT_EQ(writer.acceptChunk(chunk.data(), 7056), 0);
    EXPECT_EQ(writer.getStreamSize(true), 0);
    EXPECT_EQ(writer.close(10000), 0u);
    EXPECT_FALSE(std::filesystem::exists(before / " \t "));
}

INSTANTIATE_TEST_SUITE_P(
    Names, RiffBadNames,
    ::testing::Values(
        BadNameCase{"Blank", [](const auto&) { return std::filesystem::path(" \t "); }, false},
        BadNameCase{"MissingFolder", [](const auto& dir) { return dir / "no" / "such.wav"; }, true},
        BadNameCase{"AFolder", [](const auto& dir) { return dir; }, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
