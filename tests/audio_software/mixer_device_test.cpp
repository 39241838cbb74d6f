#include "audio/software/mixer_device.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "audio/software/mix_buffers.h"
#include "framework/stream/memory_stream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Reaches the worker's step directly, so a test decides when a wake-up happens.
class StepMixer : public unaWaveMixerDevice {
  public:
    StepMixer(bool realTime, bool addSilence) : unaWaveMixerDevice(realTime, addSilence, 0) {
        dataWait = 0;
        setOnChunkReady([this](unaMsAcmStreamDevice&, const void* data, int size) {
            std::lock_guard lock(mutex);
            auto* bytes = static_cast<const std::uint8_t*>(data);
            chunks.emplace_back(bytes, bytes + size);
            delivered.notify_all();
        });
    }
    bool wakeUp() { return serviceHeader(nullptr, true); }
    void timerTick() { onTimerTick(); }

    bool waitForChunks(std::size_t n) {
        std::unique_lock lock(mutex);
        return delivered.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return chunks.size() >= n; });
    }

    std::mutex mutex;
    std::condition_variable delivered;
    std::vector<Bytes> chunks;
};

Bytes samples16(std::size_t count, std::int16_t value) {
    Bytes bytes(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(&bytes[i * 2], &value, 2);
    }
    return bytes;
}

struct HalfChunkCase {
    const char* name;
    unsigned bits;
    bool addSilence;
};

class MixerHalfChunk : public ::testing::TestWithParam<HalfChunkCase> {};

TEST_P(MixerHalfChunk, IsPaddedWithSilenceOrDropped) {
    const HalfChunkCase& c = GetParam();
    StepMixer mixer(false, c.addSilence);
    ASSERT_TRUE(mixer.setPcmSampling(8000, c.bits, 1));
    const unsigned chunk = mixer.chunkSize();
    ASSERT_GT(chunk, 0u);
    unaAbstractStream* stream = mixer.addStream();
    const Bytes half(chunk / 2, 0x41);
    stream->write(half.data(), int(half.size()));

    mixer.wakeUp();

    EXPECT_EQ(stream->getSize(), 0) << "the half chunk is consumed either way";
    if (!c.addSilence) {
        EXPECT_TRUE(mixer.chunks.empty());
        return;
    }
    ASSERT_EQ(mixer.chunks.size(), 1u);
    Bytes expected = half;
    expected.resize(chunk, c.bits == 8 ? 128 : 0);
    EXPECT_EQ(mixer.chunks[0], expected);
}

INSTANTIATE_TEST_SUITE_P(Mixer, MixerHalfChunk,
                         ::testing::Values(HalfChunkCase{"Pad8Bit", 8, true},
                                           HalfChunkCase{"Pad16Bit", 16, true},
                                           HalfChunkCase{"Drop8Bit", 8, false},
                                           HalfChunkCase{"Drop16Bit", 16, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mixer, TwoStreamsSumWithSaturation) {
    StepMixer mixer(false, false);
    ASSERT_TRUE(mixer.setPcmSampling(8000, 16, 1));
    const std::size_t samples = mixer.chunkSize() / 2;
    const Bytes a = samples16(samples, 30000), b = samples16(samples, 10000);
    mixer.addStream()->write(a.data(), int(a.size()));
    mixer.addStream()->write(b.data(), int(b.size()));

    ASSERT_TRUE(mixer.wakeUp());

    ASSERT_EQ(mixer.chunks.size(), 1u);
    EXPECT_EQ(mixer.chunks[0], samples16(samples, 32767));
    EXPECT_EQ(mixer.inBytes(), 2 * int64_t(mixer.chunkSize()));
}

struct MixCase {
    std::int16_t a, b;
    bool add;
    std::int16_t out;
};

TEST(MixBuffers, SaturatesAtEveryStep) {
    const MixCase cases[] = {
        {30000, 10000, true, 32767},    {-30000, -10000, true, -32768}, {1000, -250, true, 750},
        {-30000, 10000, false, -32768}, {100, 50, false, 50},
    };
    for (const MixCase& c : cases) {
        const Bytes a = samples16(4, c.a);
        Bytes b = samples16(4, c.b);
        mixBuffers(a.data(), b.data(), b.data(), 2, 16, 16, 16, c.add, 2);
        EXPECT_EQ(b, samples16(4, c.out)) << c.a << (c.add ? " + " : " - ") << c.b;
    }
}

TEST(Mixer, PendingTicksComeOutOneChunkPerWakeUp) {
    StepMixer mixer(true, true);
    ASSERT_TRUE(mixer.setPcmSampling(8000, 16, 1));
    mixer.addStream();
    for (int i = 0; i < 3; ++i) {
        mixer.timerTick();
    }
    ASSERT_EQ(mixer.pendingTicks(), 3);

    for (std::size_t wake = 1; wake <= 3; ++wake) {
        EXPECT_TRUE(mixer.wakeUp());
        EXPECT_EQ(mixer.chunks.size(), wake);
    }
    EXPECT_FALSE(mixer.wakeUp()) << "no tick left";
    EXPECT_EQ(mixer.chunks.size(), 3u);
}

TEST(Mixer, RemovingAStrangerReturnsFalseAndFreesNothing) {
    StepMixer mixer(false, true);
    unaAbstractStream* own = mixer.addStream();
    unaMemoryStream stranger(100);

    EXPECT_FALSE(mixer.removeStream(&stranger));
    EXPECT_EQ(stranger.write("ab", 2), 2) << "still alive";
    EXPECT_EQ(mixer.getStreamCount(), 1u);
    EXPECT_TRUE(mixer.removeStream(own));
    EXPECT_EQ(mixer.getStreamCount(), 0u);
}

TEST(Mixer, AddStreamWithoutAStreamCreatesAnEmptyMemoryStream) {
    StepMixer mixer(false, true);
    unaAbstractStream* stream = mixer.addStream();
    ASSERT_NE(dynamic_cast<unaMemoryStream*>(stream), nullptr);
    EXPECT_EQ(stream->lockTimeout(), 100);
    EXPECT_EQ(stream->getSize(), 0);
    EXPECT_EQ(mixer.getStream(0), stream);
}

TEST(Mixer, TimerIntervalFollowsTheChunkRate) {
    StepMixer mixer(true, true);
    EXPECT_EQ(mixer.timerInterval(), 1000u) << "no format yet";
    ASSERT_TRUE(mixer.setPcmSampling(44100, 16, 2));
    EXPECT_EQ(mixer.timerInterval(), 40u);
    mixer.setRealTime(false);
    EXPECT_EQ(mixer.timerInterval(), 0u) << "free-running has no timer";
}

TEST(Mixer, OpenRealTimeMixerDeliversChunksOnItsTimer) {
    StepMixer mixer(true, true);
    ASSERT_TRUE(mixer.setPcmSampling(44100, 16, 2));
    mixer.addStream();
    ASSERT_EQ(mixer.open(), 0u);
    EXPECT_TRUE(mixer.waitForChunks(3));
    EXPECT_EQ(mixer.close(), 0u);
    std::lock_guard lock(mixer.mutex);
    for (const Bytes& chunk : mixer.chunks) {
        EXPECT_EQ(chunk, Bytes(7056, 0));
    }
}

TEST(SoftwareDevice, OpensAndClosesWithoutAnyFormat) {
    for (bool realTime : {false, true}) {
        StepMixer mixer(realTime, true);
        mixer.addStream();
        ASSERT_EQ(mixer.open(), 0u);
        EXPECT_TRUE(mixer.isOpen());
        EXPECT_EQ(mixer.close(), 0u);
        EXPECT_FALSE(mixer.isOpen());
        EXPECT_TRUE(mixer.chunks.empty());
    }
}

}  // namespace
