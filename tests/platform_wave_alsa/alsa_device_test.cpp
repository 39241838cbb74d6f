#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>

#include "alsa_test_support.h"

namespace platform {
namespace {

using testing::findDevice;
using testing::insidePulseStack;
using testing::makeStackDriver;

const WaveFormat kCd{WAVE_FORMAT_PCM, 2, 44100, 16};

class AlsaDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!insidePulseStack()) {
            GTEST_SKIP() << "needs scripts/pulse_stack.sh (a private PulseAudio server)";
        }
    }
    std::shared_ptr<AlsaWaveDriver> driver_ = makeStackDriver();
};

TEST_F(AlsaDeviceTest, ListsTheServersDevicesPerDirection) {
    EXPECT_GE(findDevice(*driver_, WaveDirection::capture, "TV monitor"), 0);
    EXPECT_GE(findDevice(*driver_, WaveDirection::playback, "TV"), 0);
    EXPECT_GE(findDevice(*driver_, WaveDirection::capture, "PulseAudio Sound Server"), 0);
    WaveDeviceCaps caps;
    ASSERT_EQ(driver_->deviceCaps(WaveDirection::capture, WAVE_MAPPER, caps), MMSYSERR_NOERROR);
    EXPECT_FALSE(caps.productName.empty());
    EXPECT_EQ(driver_->deviceCaps(WaveDirection::capture, 9999, caps), MMSYSERR_BADDEVICEID);
}

TEST_F(AlsaDeviceTest, QueryChecksTheFormatWithoutOpening) {
    for (const auto& format : {kCd, WaveFormat{WAVE_FORMAT_PCM, 1, 8000, 8}}) {
        std::unique_ptr<WaveStream> stream;
        EXPECT_EQ(driver_->open({WaveDirection::capture, WAVE_MAPPER, format,
                                 CALLBACK_EVENT | WAVE_FORMAT_QUERY},
                                stream),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(stream, nullptr);
    }
    std::unique_ptr<WaveStream> stream;
    EXPECT_EQ(driver_->open({WaveDirection::playback, WAVE_MAPPER,
                             WaveFormat{WAVE_FORMAT_PCM, 2, 44100, 24}, WAVE_FORMAT_QUERY},
                            stream),
              WAVERR_BADFORMAT);
}

TEST_F(AlsaDeviceTest, FailedOpenTellsAlsasReason) {
    const int broken = findDevice(*driver_, WaveDirection::playback, "No server");
    ASSERT_GE(broken, 0);
    std::unique_ptr<WaveStream> stream;
    const MmResult result =
        driver_->open({WaveDirection::playback, broken, kCd, CALLBACK_EVENT}, stream);
    EXPECT_NE(result, MMSYSERR_NOERROR);
    EXPECT_EQ(stream, nullptr);
    const std::string text = driver_->errorText(result);
    EXPECT_NE(text.find("(ALSA: no_server"), std::string::npos) << text;

    EXPECT_EQ(driver_->open({WaveDirection::playback, 9999, kCd, CALLBACK_EVENT}, stream),
              MMSYSERR_BADDEVICEID);
}

TEST_F(AlsaDeviceTest, ResetReturnsQueuedBuffersOfARealDevice) {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t done = 0;
    std::unique_ptr<WaveStream> stream;
    ASSERT_EQ(driver_->open({WaveDirection::capture, WAVE_MAPPER, kCd, CALLBACK_EVENT,
                             [&](WaveNotice notice, std::uintptr_t) {
                                 std::lock_guard lock(mutex);
                                 done += notice == WaveNotice::bufferDone;
                                 changed.notify_all();
                             }},
                            stream),
              MMSYSERR_NOERROR);
    std::vector<std::vector<std::uint8_t>> blocks(3, std::vector<std::uint8_t>(176400 * 5));
    std::vector<WaveBuffer> buffers(3);
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        buffers[i].data = blocks[i].data();
        buffers[i].bufferLength = static_cast<std::uint32_t>(blocks[i].size());
        ASSERT_EQ(stream->prepare(buffers[i]), MMSYSERR_NOERROR);
        ASSERT_EQ(stream->add(buffers[i]), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    ASSERT_EQ(stream->reset(), MMSYSERR_NOERROR);
    for (const auto& buffer : buffers) {
        EXPECT_TRUE(buffer.hasFlag(WHDR_DONE));
        EXPECT_FALSE(buffer.hasFlag(WHDR_INQUEUE));
    }
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return done == 3; }));
    lock.unlock();
    EXPECT_EQ(stream->close(), MMSYSERR_NOERROR);
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

// Stops the stack's sound server, so it runs as a ctest entry of its own.
TEST(AlsaServerLoss, StreamHaltsWithAnErrorWhenTheSoundServerDies) {
    if (!testing::insidePulseStack() || std::getenv("QV_PULSE_PID") == nullptr) {
        GTEST_SKIP() << "needs scripts/pulse_stack.sh (a private PulseAudio server)";
    }
    auto driver = testing::makeStackDriver();

    std::mutex mutex;
    std::condition_variable changed;
    std::size_t done = 0;
    bool halted = false;
    std::vector<std::vector<std::uint8_t>> blocks(4, std::vector<std::uint8_t>(7056));
    std::vector<WaveBuffer> buffers(4);
    std::unique_ptr<WaveStream> stream;
    ASSERT_EQ(driver->open({WaveDirection::capture, WAVE_MAPPER, kCd, CALLBACK_EVENT,
                            [&](WaveNotice notice, std::uintptr_t) {
                                std::lock_guard lock(mutex);
                                done += notice == WaveNotice::bufferDone;
                                halted = halted || notice == WaveNotice::halted;
                                changed.notify_all();
                            }},
                           stream),
              MMSYSERR_NOERROR);
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        buffers[i].data = blocks[i].data();
        buffers[i].bufferLength = static_cast<std::uint32_t>(blocks[i].size());
        ASSERT_EQ(stream->prepare(buffers[i]), MMSYSERR_NOERROR);
        ASSERT_EQ(stream->add(buffers[i]), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return done >= 1; }));
    }
    // Re-queue what came back so the stream is busy when the server goes away.
    for (auto& buffer : buffers) {
        if (buffer.hasFlag(WHDR_DONE)) {
            stream->add(buffer);
        }
    }
    ASSERT_EQ(kill(static_cast<pid_t>(std::atoi(std::getenv("QV_PULSE_PID"))), SIGKILL), 0);

    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(20), [&] { return halted; }));
    lock.unlock();
    EXPECT_NE(stream->status(), MMSYSERR_NOERROR);
    for (const auto& buffer : buffers) {
        EXPECT_FALSE(buffer.hasFlag(WHDR_INQUEUE));
    }
    EXPECT_EQ(stream->add(buffers[0]), stream->status());
    EXPECT_EQ(stream->close(), MMSYSERR_NOERROR);
}

}  // namespace
}  // namespace platform
