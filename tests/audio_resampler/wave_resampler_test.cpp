#include "audio/resampler/wave_resampler.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>;

Bytes toBytes(const Samples& samples) {
    Bytes bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

Samples toSamples(const Bytes& bytes) {
    Samples samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Collects what the resampler delivers and lets a test run single worker steps.
class TestResampler : public unaWaveResampler {
  public:
    TestResampler() : unaWaveResampler(false, 0) {
        dataWait = 0;
        setOnChunkReady([this](unaMsAcmStreamDevice&, const void* data, int size) {
            std::lock_guard lock(mutex);
            auto* bytes = static_cast<const std::uint8_t*>(data);
            chunks.emplace_back(bytes, bytes + size);
            output.insert(output.end(), bytes, bytes + size);
            delivered.notify_all();
        });
    }
    bool configure(const PcmSampling& src, const PcmSampling& dst) {
        setFormat(true, src.samplesPerSec, src.bitsPerSample, src.channels);
        return setFormat(false, dst.samplesPerSec, dst.bitsPerSample, dst.channels);
    }
    bool step() { return serviceHeader(nullptr, false); }
    void feed(const Bytes& bytes) { inputStream()->write(bytes.data(), int(bytes.size())); }
    bool waitForOutput(std::size_t bytes) {
        std::unique_lock lock(mutex);
        return delivered.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return output.size() >= bytes; });
    }

    std::mutex mutex;
    std::condition_variable delivered;
    std::vector<Bytes> chunks;
    Bytes output;
};

struct ConversionCase {
    const char* name;
    PcmSampling src, dst;
    std::function<Bytes()> input;            // one source chunk
    std::function<Bytes(const Bytes&)> out;  // the chunk expected for it
};

Bytes pattern(std::size_t n) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = std::uint8_t(i * 7);
    }
    return bytes;
}

Samples ramp(std::size_t n) {
    Samples samples(n);
    for (std::size_t i = 0; i < n; ++i) {
        samples[i] = std::int16_t(i) - 441;
    }
    return samples;
}

const ConversionCase kConversions[] = {
    {"PassThrough",
     {44100, 16, 2},
     {44100, 16, 2},
     [] { return pattern(7056); },
     [](const Bytes& in) { return in; }},
    {"DoublesMono22050To44100",
     {22050, 16, 1},
     {44100, 16, 1},
     [] { return toBytes(ramp(882)); },
     [](const Bytes& in) {
         Samples out;
         for (std::int16_t s : toSamples(in)) {
             out.insert(out.end(), {s, s});
         }
         return toBytes(out);
     }},
    {"StereoToMonoTruncatedMean",
     {44100, 16, 2},
     {44100, 16, 1},
     [] {
         Samples frames;
         for (int i = 0; i < 1764; ++i) {
             frames.insert(frames.end(), {-3, 0});
         }
         return toBytes(frames);
     },
     [](const Bytes&) { return toBytes(Samples(1764, -1)); }},
    {"EightBitToSixteen",
     {22050, 8, 1},
     {22050, 16, 1},
     [] {
         Bytes in(882);
         for (std::size_t i = 0; i < in.size(); ++i) {
             in[i] = i % 2 == 0 ? 255 : 0;
         }
         return in;
     },
     [](const Bytes&) {
         Samples out(882);
         for (std::size_t i = 0; i < out.size(); ++i) {
             out[i] = i % 2 == 0 ? 32512 : -32768;
         }
         return toBytes(out);
     }},
};

class Conversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, OneSourceChunkGivesTheExpectedChunk) {
    const ConversionCase& c = GetParam();
    TestResampler resampler;
    ASSERT_TRUE(resampler.configure(c.src, c.dst));
    const Bytes in = c.input();
    ASSERT_EQ(in.size(), resampler.sourceChunkBytes());

    resampler.feed(in);
    EXPECT_TRUE(resampler.step());

    ASSERT_EQ(resampler.chunks.size(), 1u);
    EXPECT_EQ(resampler.chunks[0], c.out(in));
    EXPECT_EQ(resampler.chunks[0].size(), resampler.destinationChunkBytes());
}

INSTANTIATE_TEST_SUITE_P(Resampler, Conversion, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Resampler, DownsamplingDropsFramesWithoutAveraging) {
    TestResampler resampler;
    ASSERT_TRUE(resampler.configure({48000, 16, 2}, {44100, 16, 2}));
    Samples frames;
    for (std::int16_t i = 0; i < 1920; ++i) {
        frames.insert(frames.end(), {i, std::int16_t(-i)});
    }
    resampler.feed(toBytes(frames));
    ASSERT_TRUE(resampler.step());

    ASSERT_EQ(resampler.chunks.size(), 1u);
    const Samples out = toSamples(resampler.chunks[0]);
    ASSERT_EQ(out.size(), 1764u * 2);
    int dropped = 0;
    for (std::size_t f = 0; f < 1764; ++f) {
        EXPECT_EQ(out[2 * f + 1], -out[2 * f]) << "channels stay paired at frame " << f;
        if (f > 0) {
            EXPECT_GE(out[2 * f] - out[2 * (f - 1)], 1) << "no frame repeats when downsampling";
            dropped += out[2 * f] - out[2 * (f - 1)] - 1;
        }
    }
    EXPECT_EQ(dropped + out[0] + (1919 - out[2 * 1763]), 1920 - 1764);
}

TEST(Resampler, LessThanOneSourceChunkDeliversNothingUntilItIsComplete) {
    TestResampler resampler;
    ASSERT_TRUE(resampler.configure({44100, 16, 2}, {44100, 16, 2}));
    const Bytes in = pattern(7056);
    resampler.feed(Bytes(in.begin(), in.begin() + 7000));
    EXPECT_FALSE(resampler.step());
    EXPECT_TRUE(resampler.chunks.empty());

    resampler.feed(Bytes(in.begin() + 7000, in.end()));
    EXPECT_TRUE(resampler.step());
    ASSERT_EQ(resampler.chunks.size(), 1u);
    EXPECT_EQ(resampler.chunks[0], in);
}

TEST(Resampler, ARateThatRoundsUpNeverWritesPastTheDestinationBlock) {
    // 44100 -> 11104 Hz: the frame position ends at 2220.8 while the block
    // holds 2220 frames.
    TestResampler resampler;
    ASSERT_TRUE(resampler.configure({44100, 16, 1}, {11104, 16, 1}));
    ASSERT_EQ(resampler.destinationChunkBytes(), 2220u * 2);
    resampler.feed(Bytes(resampler.sourceChunkBytes(), 0));
    ASSERT_TRUE(resampler.step());
    ASSERT_EQ(resampler.chunks.size(), 1u);
    EXPECT_EQ(resampler.chunks[0].size(), 2220u * 2);
}

TEST(Resampler, FormatsTooLargeForAChunkAreRefused) {
    TestResampler resampler;
    EXPECT_FALSE(resampler.configure({4000000000u / 2, 32, 64}, {44100, 16, 2}));
    EXPECT_EQ(resampler.sourceChunkBytes(), 0u);
}

TEST(Resampler, ChunksFedFromAnotherThreadAreAllConverted) {
    constexpr int kChunks = 50;
    constexpr int kTailFrames = 300;
    TestResampler resampler;
    resampler.dataWait = unaWaveSoftwareDevice::kDefaultDataWaitMs;
    ASSERT_TRUE(resampler.configure({22050, 16, 1}, {44100, 16, 2}));
    const unsigned srcChunk = resampler.sourceChunkBytes();
    const unsigned dstChunk = resampler.destinationChunkBytes();
    ASSERT_EQ(srcChunk, 1764u);
    ASSERT_EQ(dstChunk, 7056u);

    const std::size_t frames = std::size_t(kChunks) * srcChunk / 2 + kTailFrames;
    Samples source(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        source[i] = std::int16_t(i % 20000 + 1);
    }
    const Bytes bytes = toBytes(source);

    ASSERT_EQ(resampler.open(), 0u);
    std::thread feeder([&] {
        for (std::size_t at = 0; at < bytes.size(); at += srcChunk) {
            const std::size_t n = std::min<std::size_t>(srcChunk, bytes.size() - at);
            EXPECT_EQ(resampler.acceptChunk(bytes.data() + at, int(n)), int(n));
        }
    });
    feeder.join();
    ASSERT_TRUE(resampler.waitForOutput(std::size_t(kChunks) * dstChunk));
    EXPECT_EQ(resampler.close(), 0u);

    // The tail was padded with silence to a whole chunk on close.
    std::lock_guard lock(resampler.mutex);
    const Samples out = toSamples(resampler.output);
    ASSERT_EQ(out.size(), std::size_t(kChunks + 1) * dstChunk / 2);
    for (std::size_t f = 0; f < out.size() / 2; ++f) {
        const std::int16_t expected = f / 2 < frames ? source[f / 2] : 0;
        ASSERT_EQ(out[2 * f], expected) << "frame " << f;
        ASSERT_EQ(out[2 * f + 1], expected) << "frame " << f;
    }
}

}  // namespace
