#include "platform/wave/wav_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/wave/capture_signal.h"

namespace platform {
namespace {

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A minimal PCM WAV with an extra chunk before the data.
std::string makeWav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                    const std::string& data) {
    std::string body = "WAVE";
    body += "fmt ";
    put32(body, 16);
    put16(body, 1);
    put16(body, channels);
    put32(body, rate);
    put32(body, rate * channels * bits / 8);
    put16(body, channels * bits / 8);
    put16(body, bits);
    body += "LIST";
    put32(body, 3);
    body += std::string("abc\0", 4);  // odd size, padded
    body += "data";
    put32(body, static_cast<std::uint32_t>(data.size()));
    body += data;
    std::string file = "RIFF";
    put32(file, static_cast<std::uint32_t>(body.size()));
    return file + body;
}

class WavReaderTest : public ::testing::Test {
  protected:
    std::string write(const std::string& bytes) {
        std::ofstream(path_, std::ios::binary) << bytes;
        return path_.string();
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::filesystem::path path_ =
        std::filesystem::temp_directory_path() /
        ("wav_reader_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".wav");
};

TEST_F(WavReaderTest, Reads16BitStereo) {
    std::string data;
    for (const int v : {1000, -1000, 32767, -32768}) {
        put16(data, static_cast<std::uint16_t>(v));
    }
    WavContents contents;
    std::string error;
    ASSERT_TRUE(readWavFile(write(makeWav(2, 22050, 16, data)), contents, error)) << error;
    EXPECT_EQ(contents.format.channels, 2);
    EXPECT_EQ(contents.format.samplesPerSec, 22050u);
    EXPECT_EQ(contents.samples, (std::vector<std::int16_t>{1000, -1000, 32767, -32768}));

    const auto signal = makeWavSignal(contents);
    EXPECT_EQ(signal->sample(1, 0, 22050), 32767);
    EXPECT_EQ(signal->sample(1, 1, 22050), -32768);
    EXPECT_EQ(signal->sample(2, 0, 22050), 0);  // past the end: silence
}

TEST_F(WavReaderTest, Reads8BitOnThe16BitScale) {
    WavContents contents;
    std::string error;
    ASSERT_TRUE(
        readWavFile(write(makeWav(1, 8000, 8, std::string("\x00\x80\xFF", 3))), contents, error))
        << error;
    EXPECT_EQ(contents.samples, (std::vector<std::int16_t>{-32768, 0, 32512}));
}

TEST_F(WavReaderTest, RefusesWhatItCannotRead) {
    WavContents contents;
    std::string error;
    EXPECT_FALSE(readWavFile(write("RIFF\4\0\0\0JUNK"), contents, error));
    EXPECT_FALSE(readWavFile(write(makeWav(2, 44100, 24, "abcdef")), contents, error));
    EXPECT_FALSE(readWavFile((path_.string() + ".missing"), contents, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace platform
