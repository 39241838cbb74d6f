#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/format/pcm_samples.h"

namespace {

struct ReadCase {
    unsigned bits;
    std::vector<std::uint8_t> bytes;
    std::int32_t sample;
};

class ReadSample : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadSample, ReadsOneSampleAndAdvancesPastIt) {
    const ReadCase& c = GetParam();
    const std::uint8_t* position = c.bytes.data();
    EXPECT_EQ(readSample(c.bits, position), c.sample);
    EXPECT_EQ(position, c.bytes.data() + c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Widths, ReadSample,
    ::testing::Values(ReadCase{8, {0}, -32768}, ReadCase{8, {128}, 0}, ReadCase{8, {255}, 32512},
                      ReadCase{8, {129}, 256}, ReadCase{16, {0x00, 0x80}, -32768},
                      ReadCase{16, {0xFF, 0x7F}, 32767}, ReadCase{16, {0xFF, 0xFF}, -1},
                      ReadCase{16, {0x34, 0x12}, 0x1234},
                      ReadCase{32, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
                      ReadCase{24, {0xFF, 0xFF, 0xFF, 0xFF}, -1}));  // raw 32-bit word

struct WriteCase {
    unsigned bits;
    std::int32_t value;
    std::vector<std::uint8_t> bytes;
};

class WriteSample : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteSample, StoresOneSampleSaturatedAndAdvancesPastIt) {
    const WriteCase& c = GetParam();
    std::vector<std::uint8_t> buffer(c.bytes.size(), 0xAA);
    std::uint8_t* position = buffer.data();
    writeSample(c.value, c.bits, position);
    EXPECT_EQ(buffer, c.bytes);
    EXPECT_EQ(position, buffer.data() + buffer.size());
}

INSTANTIATE_TEST_SUITE_P(
    Widths, WriteSample,
    ::testing::Values(WriteCase{16, 40000, {0xFF, 0x7F}}, WriteCase{16, -40000, {0x00, 0x80}},
                      WriteCase{16, 0x1234, {0x34, 0x12}}, WriteCase{16, -1, {0xFF, 0xFF}},
                      WriteCase{8, -32768, {0}}, WriteCase{8, 0, {128}}, WriteCase{8, 32767, {255}},
                      WriteCase{8, 40000, {255}}, WriteCase{8, -40000, {0}},
                      WriteCase{8, -1, {127}},  // shifts down
                      WriteCase{32, -2, {0xFE, 0xFF, 0xFF, 0xFF}}));

TEST(Samples, EightBitValuesSurviveAWriteAndReadOnTheSixteenBitScale) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::int32_t value = (byte - 128) * 256;
        std::uint8_t stored = 0;
        std::uint8_t* out = &stored;
        writeSample(value, 8, out);
        const std::uint8_t* in = &stored;
        EXPECT_EQ(readSample(8, in), value);
    }
}

// Interleaved 16-bit frames from per-channel sample lists of equal length.
std::vector<std::uint8_t> interleave16(const std::vector<std::vector<std::int16_t>>& channels) {
    std::vector<std::uint8_t> data(channels.size() * channels.front().size() * 2);
    std::uint8_t* position = data.data();
    for (std::size_t frame = 0; frame < channels.front().size(); ++frame) {
        for (const auto& channel : channels) {
            writeSample(channel[frame], 16, position);
        }
    }
    return data;
}

TEST(ChannelLevel, FullScaleSquareWaveAndSilence) {
    const std::vector<std::int16_t> square = {32767, -32767, 32767, -32767, 32767, -32767};
    const std::vector<std::int16_t> silence(square.size(), 0);
    const auto data = interleave16({square, silence});
    EXPECT_EQ(channelLevel(data.data(), 6, 16, 2, 0), 32767u);
    EXPECT_EQ(channelLevel(data.data(), 6, 16, 2, 1), 0u);
}

TEST(ChannelLevel, MeasuresEachChannelOfInterleavedData) {
    // Channel c holds a constant 1000 * (c + 1); RMS of a constant is itself.
    std::vector<std::vector<std::int16_t>> channels;
    for (int c = 0; c < 5; ++c) {
        channels.push_back(
            std::vector<std::int16_t>(8, static_cast<std::int16_t>(-1000 * (c + 1))));
    }
    const auto data = interleave16(channels);
    for (unsigned c = 0; c < 5; ++c) {
        EXPECT_EQ(channelLevel(data.data(), 8, 16, 5, c), 1000u * (c + 1)) << "channel " << c;
    }
}

TEST(ChannelLevel, RoundsTheRootMeanSquareToTheNearestInteger) {
    const std::vector<std::int16_t> samples = {3, 4};  // sqrt(12.5) = 3.54
    const auto data = interleave16({samples});
    EXPECT_EQ(channelLevel(data.data(), 2, 16, 1, 0), 4u);
    const std::vector<std::int16_t> sine = [] {
        std::vector<std::int16_t> s(1000);
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = static_cast<std::int16_t>(std::lround(20000 * std::sin(2 * M_PI * i / 100.0)));
        }
        return s;
    }();
    const auto sineData = interleave16({sine});
    EXPECT_NEAR(channelLevel(sineData.data(), 1000, 16, 1, 0), 20000 / std::sqrt(2.0), 1.0);
}

TEST(ChannelLevel, DifferenceFormMeasuresTheStepsFromZero) {
    // Steps 100, 200, 300, 100 from an implicit 0: sqrt((1e4 + 4e4 + 9e4 + 1e4) / 4) = 193.6
    const std::vector<std::int16_t> samples = {100, 300, 0, 100};
    const auto data = interleave16({std::vector<std::int16_t>(4, 8), samples});
    EXPECT_EQ(channelLevel(data.data(), 4, 16, 2, 1, true), 194u);
    EXPECT_EQ(channelLevel(data.data(), 4, 16, 2, 0, true), 4u);  // steps 8, 0, 0, 0
    EXPECT_EQ(channelLevel(data.data(), 4, 16, 2, 0, false), 8u);
}

TEST(ChannelLevel, EightBitDataIsOnTheSixteenBitScale) {
    const std::vector<std::uint8_t> data = {0, 255, 0, 255};  // L=-32768, R=32512
    EXPECT_EQ(channelLevel(data.data(), 2, 8, 2, 0), 32768u);
    EXPECT_EQ(channelLevel(data.data(), 2, 8, 2, 1), 32512u);
    const std::vector<std::uint8_t> silence(16, 128);
    EXPECT_EQ(channelLevel(silence.data(), 16, 8, 1, 0), 0u);
}

TEST(ChannelLevel, FullScaleThirtyTwoBitWordsDoNotOverflow) {
    const std::vector<std::int32_t> lowest(4, INT32_MIN);
    EXPECT_EQ(channelLevel(lowest.data(), 4, 32, 1, 0), 2147483648u);
    // A first step of 2^31, then three of 2^32 - 1: sqrt((2^62 + 3 (2^32 - 1)^2) / 4).
    const std::vector<std::int32_t> swings = {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX};
    EXPECT_EQ(channelLevel(swings.data(), 4, 32, 1, 0, true), 3871431202u);
}

TEST(ChannelLevel, ImpossibleArgumentsGiveZero) {
    const std::vector<std::int16_t> loud = {20000, 20000, 20000, 20000};
    struct Case {
        std::uint32_t samples;
        unsigned bits;
        unsigned channels;
        unsigned channel;
    };
    for (const Case c : {Case{0, 16, 2, 0}, Case{2, 16, 0, 0}, Case{2, 16, 2, 2}, Case{2, 16, 2, 7},
                         Case{2, 0, 2, 0}}) {
        EXPECT_EQ(channelLevel(loud.data(), c.samples, c.bits, c.channels, c.channel), 0u);
    }
    EXPECT_EQ(channelLevel(nullptr, 2, 16, 2, 0), 0u);
}

struct LogCase {
    std::uint32_t level;
    int position;
};

class LevelToLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(LevelToLog, MapsToTheMeterScale) {
    EXPECT_EQ(levelToLog(GetParam().level), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelToLog,
                         ::testing::Values(LogCase{0, 0}, LogCase{31, 0}, LogCase{32, 0},
                                           LogCase{33, 1}, LogCase{101, 50},  // 49.9
                                           LogCase{320, 100}, LogCase{3200, 200},
                                           LogCase{32000, 300}, LogCase{32767, 301},
                                           LogCase{32768, 300}, LogCase{100000, 300},
                                           LogCase{0x7FFFFFFFu, 300}, LogCase{0xFFFFFFFEu, 300},
                                           LogCase{0xFFFFFFFFu, 0}));

}  // namespace
