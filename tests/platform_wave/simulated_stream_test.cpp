#include <gtest/gtest.h>

#include "platform/clock/platform_clock.h"
#include "platform/wave/simulated_wave_driver.h"
#include "wave_test_support.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using testing::BufferSet;
using testing::NoticeLog;

// Each frame carries its own number, so order and continuity show in the data.
class FrameCounter final : public CaptureSignal {
  public:
    std::int16_t sample(std::uint64_t frame, unsigned, std::uint32_t) const override {
        return static_cast<std::int16_t>(frame % 20000);
    }
};

std::int16_t frameValue(const std::vector<std::uint8_t>& block, std::size_t frame,
                        const WaveFormat& format) {
    const std::size_t at = frame * format.blockAlign();
    if (format.bitsPerSample == 8) {
        return static_cast<std::int16_t>((block[at] - 128) * 256);
    }
    return static_cast<std::int16_t>(block[at] | (block[at + 1] << 8));
}

class SimulatedStreamTest : public ::testing::Test {
  protected:
    WaveFormat format_{WAVE_FORMAT_PCM, 2, 44100, 16};
    std::uint32_t chunkBytes() const { return format_.bytesPerSecond() / 25; }  // 40 ms

    std::unique_ptr<WaveStream> open(WaveDirection direction, NoticeLog& log) {
        std::unique_ptr<WaveStream> stream;
        const MmResult result =
            driver_.open({direction, WAVE_MAPPER, format_, CALLBACK_EVENT, log.callback()}, stream);
        EXPECT_EQ(result, MMSYSERR_NOERROR);
        return stream;
    }
    void prepareAndAdd(WaveStream& stream, BufferSet& buffers) {
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            ASSERT_EQ(stream.prepare(buffers[i]), MMSYSERR_NOERROR);
            ASSERT_EQ(stream.add(buffers[i]), MMSYSERR_NOERROR);
            ASSERT_TRUE(buffers[i].hasFlag(WHDR_INQUEUE));
        }
    }

    ScopedClockSpeedUp speedUp_{50.0};
    SimulatedWaveDriver driver_;
};

struct FormatCase {
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint16_t bits;
};

class CaptureFormats : public SimulatedStreamTest,
                       public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CaptureFormats, BuffersComeBackInOrderFullAndContinuous) {
    format_ = {WAVE_FORMAT_PCM, GetParam().channels, GetParam().rate, GetParam().bits};
    driver_.addDevice(WaveDirection::capture,
                      {.name = "Line in", .signal = std::make_shared<FrameCounter>()});
    NoticeLog log;
    BufferSet buffers(4, chunkBytes());
    auto stream = open(WaveDirection::capture, log);
    prepareAndAdd(*stream, buffers);
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 4));

    EXPECT_EQ(log.returnOrder(), (std::vector<std::size_t>{0, 1, 2, 3}));
    const std::size_t framesPerBuffer = chunkBytes() / format_.blockAlign();
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        EXPECT_EQ(buffers[i].flags.load(), WHDR_DONE | WHDR_PREPARED);
        EXPECT_EQ(buffers[i].bytesRecorded, chunkBytes());
        for (std::size_t f = 0; f < framesPerBuffer; f += 97) {
            const auto expected = static_cast<std::int16_t>((i * framesPerBuffer + f) % 20000);
            const auto tolerance = format_.bitsPerSample == 8 ? 256 : 0;
            EXPECT_NEAR(frameValue(buffers.block(i), f, format_), expected, tolerance);
        }
    }
    std::uint64_t position = 0;
    EXPECT_EQ(stream->position(position), MMSYSERR_NOERROR);
    EXPECT_EQ(position, 4 * framesPerBuffer);
    EXPECT_EQ(stream->close(), MMSYSERR_NOERROR);
}

INSTANTIATE_TEST_SUITE_P(Formats, CaptureFormats,
                         ::testing::Values(FormatCase{2, 44100, 16}, FormatCase{1, 8000, 8},
                                           FormatCase{1, 22050, 16}, FormatCase{2, 48000, 8}));

TEST_F(SimulatedStreamTest, ResetReturnsEveryQueuedBufferDone) {
    for (const auto direction : {WaveDirection::capture, WaveDirection::playback}) {
        SimulatedWaveDriver driver;
        driver.addDevice(direction, {});
        NoticeLog log;
        // Long buffers, so that none finishes before the reset.
        BufferSet buffers(5, format_.bytesPerSecond() * 10);
        std::unique_ptr<WaveStream> stream;
        ASSERT_EQ(driver.open({direction, 0, format_, CALLBACK_EVENT, log.callback()}, stream),
                  MMSYSERR_NOERROR);
        prepareAndAdd(*stream, buffers);
        ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
        ASSERT_EQ(stream->reset(), MMSYSERR_NOERROR);

        for (std::size_t i = 0; i < buffers.size(); ++i) {
            EXPECT_EQ(buffers[i].flags.load(), WHDR_DONE | WHDR_PREPARED) << i;
        }
        ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 5));
        EXPECT_EQ(log.returnOrder(), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
        std::uint64_t position = 1;
        stream->position(position);
        EXPECT_EQ(position, 0u);
        EXPECT_EQ(stream->unprepare(buffers[0]), MMSYSERR_NOERROR);
        EXPECT_FALSE(buffers[0].hasFlag(WHDR_PREPARED));
    }
}

TEST_F(SimulatedStreamTest, CloseHandsBackQueuedBuffers) {
    driver_.addDevice(WaveDirection::playback, {});
    NoticeLog log;
    BufferSet buffers(3, format_.bytesPerSecond() * 30);
    auto stream = open(WaveDirection::playback, log);
    prepareAndAdd(*stream, buffers);
    EXPECT_EQ(stream->unprepare(buffers[1]), WAVERR_STILLPLAYING);
    EXPECT_EQ(stream->close(), MMSYSERR_NOERROR);
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        EXPECT_TRUE(buffers[i].hasFlag(WHDR_DONE));
        EXPECT_FALSE(buffers[i].hasFlag(WHDR_INQUEUE));
    }
    EXPECT_EQ(log.count(WaveNotice::closed), 1u);
    EXPECT_EQ(stream->add(buffers[0]), MMSYSERR_INVALHANDLE);
}

TEST_F(SimulatedStreamTest, AddRefusesUnpreparedAndQueuedBuffers) {
    driver_.addDevice(WaveDirection::capture, {});
    NoticeLog log;
    BufferSet buffers(1, chunkBytes());
    auto stream = open(WaveDirection::capture, log);
    EXPECT_EQ(stream->add(buffers[0]), WAVERR_UNPREPARED);
    ASSERT_EQ(stream->prepare(buffers[0]), MMSYSERR_NOERROR);
    ASSERT_EQ(stream->add(buffers[0]), MMSYSERR_NOERROR);
    EXPECT_EQ(stream->add(buffers[0]), WAVERR_STILLPLAYING);

    WaveBuffer odd;
    std::uint8_t byte = 0;
    odd.data = &byte;
    odd.bufferLength = 1;  // not a whole frame
    EXPECT_EQ(stream->prepare(odd), MMSYSERR_INVALPARAM);
}

TEST_F(SimulatedStreamTest, PlaybackIsPacedByTheClockAndKeepsWhatItPlayed) {
    driver_.addDevice(WaveDirection::playback, {.name = "Speakers"});
    NoticeLog log;
    BufferSet buffers(25, chunkBytes());  // one second
    auto stream = open(WaveDirection::playback, log);
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        std::fill_n(buffers[i].data, 4, static_cast<std::uint8_t>(i));
    }
    const auto started = PlatformClock::now();
    prepareAndAdd(*stream, buffers);
    ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 25));
    const auto finished = PlatformClock::now();

    const auto played = driver_.played(0);
    ASSERT_EQ(played.size(), 25u);
    EXPECT_GE(finished - started, 1s);  // never faster than the byte rate
    for (std::size_t i = 0; i < played.size(); ++i) {
        EXPECT_EQ(played[i].data[0], i);
        EXPECT_NEAR(std::chrono::duration<double>(played[i].end - played[i].start).count(), 0.040,
                    1e-6);
        if (i > 0 && stream->xrunCount() == 0) {
            EXPECT_EQ(played[i].start, played[i - 1].end);  // no gap between buffers
        }
    }
}

class ClockSkew : public SimulatedStreamTest, public ::testing::WithParamInterface<double> {};

TEST_P(ClockSkew, SkewedDeviceRunsFastOrSlowByItsPpm) {
    const double ppm = GetParam();
    driver_.addDevice(WaveDirection::playback, {.skewPpm = ppm});
    NoticeLog log;
    BufferSet buffers(2, format_.bytesPerSecond() * 10);  // 10 s each
    auto stream = open(WaveDirection::playback, log);
    prepareAndAdd(*stream, buffers);
    ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 1, 60s));
    const auto played = driver_.played(0);
    ASSERT_FALSE(played.empty());
    const double seconds = std::chrono::duration<double>(played[0].end - played[0].start).count();
    EXPECT_NEAR(seconds, 10.0 / (1.0 + ppm * 1e-6), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Ppm, ClockSkew, ::testing::Values(0.0, 500.0, -500.0));

TEST_F(SimulatedStreamTest, CapturedClickIsHeardOneLoopLater) {
    driver_.addDevice(WaveDirection::capture, {.signal = makeClickTrain({200ms})});
    driver_.addDevice(WaveDirection::playback, {});
    NoticeLog inLog;
    NoticeLog outLog;
    BufferSet in(10, chunkBytes());
    BufferSet out(10, chunkBytes());
    auto capture = open(WaveDirection::capture, inLog);
    auto playback = open(WaveDirection::playback, outLog);
    prepareAndAdd(*capture, in);
    const auto captureStart = PlatformClock::now();
    ASSERT_EQ(capture->start(), MMSYSERR_NOERROR);
    // Copy every captured buffer out as soon as it is back (a plain loopback).
    for (std::size_t i = 0; i < in.size(); ++i) {
        ASSERT_TRUE(inLog.waitFor(WaveNotice::bufferDone, i + 1));
        std::copy_n(in[i].data, in[i].bytesRecorded, out[i].data);
        out[i].bufferLength = in[i].bytesRecorded;
        ASSERT_EQ(playback->prepare(out[i]), MMSYSERR_NOERROR);
        ASSERT_EQ(playback->add(out[i]), MMSYSERR_NOERROR);
    }
    ASSERT_TRUE(outLog.waitFor(WaveNotice::bufferDone, 10));

    std::optional<PlatformClock::time_point> heard;
    for (const auto& buffer : driver_.played(0)) {
        for (std::size_t f = 0; f < buffer.data.size() / 4 && !heard; ++f) {
            if (frameValue(buffer.data, f, format_) > 10000) {
                heard = buffer.start + std::chrono::duration_cast<PlatformClock::duration>(
                                           std::chrono::duration<double>(f / 44100.0));
            }
        }
    }
    ASSERT_TRUE(heard.has_value());
    // The click is heard at least one buffer after it was captured, and in time.
    const auto latency = *heard - (captureStart + 200ms);
    EXPECT_GE(latency, 40ms);
    EXPECT_LT(latency, 60s);  // clock time: generous, scheduling delays count 50 times
}

}  // namespace
}  // namespace platform
