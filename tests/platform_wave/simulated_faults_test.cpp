#include <gtest/gtest.h>

#include "platform/clock/platform_clock.h"
#include "platform/wave/simulated_wave_driver.h"
#include "wave_test_support.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using testing::BufferSet;
using testing::NoticeLog;

class SimulatedFaultTest : public ::testing::Test {
  protected:
    const WaveFormat format_{WAVE_FORMAT_PCM, 1, 8000, 16};
    const std::uint32_t chunkBytes_ = 640;  // 40 ms

    std::unique_ptr<WaveStream> openCapture(WaveStreamFaults faults, NoticeLog& log) {
        driver_.addDevice(WaveDirection::capture, {.faults = faults});
        std::unique_ptr<WaveStream> stream;
        EXPECT_EQ(driver_.open({WaveDirection::capture, 0, format_, CALLBACK_EVENT, log.callback()},
                               stream),
                  MMSYSERR_NOERROR);
        return stream;
    }
    void prepareAndAdd(WaveStream& stream, BufferSet& buffers) {
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            ASSERT_EQ(stream.prepare(buffers[i]), MMSYSERR_NOERROR);
            ASSERT_EQ(stream.add(buffers[i]), MMSYSERR_NOERROR);
        }
    }

    ScopedClockSpeedUp speedUp_{50.0};
    SimulatedWaveDriver driver_;
};

TEST_F(SimulatedFaultTest, OpenFailsWithTheGivenCode) {
    for (const MmResult code : {MMSYSERR_ALLOCATED, MMSYSERR_NODRIVER, MMSYSERR_ERROR}) {
        SimulatedWaveDriver driver;
        driver.addDevice(WaveDirection::playback, {.openResult = code});
        std::unique_ptr<WaveStream> stream;
        EXPECT_EQ(driver.open({WaveDirection::playback, 0, format_}, stream), code);
        EXPECT_EQ(stream, nullptr);
        EXPECT_FALSE(driver.errorText(code).empty());
    }
}

TEST_F(SimulatedFaultTest, OpenNoticeComesLate) {
    NoticeLog log;
    const auto opened = PlatformClock::now();
    auto stream = openCapture({.openNoticeDelay = 2s}, log);
    ASSERT_TRUE(log.waitFor(WaveNotice::opened, 1));
    EXPECT_GE(PlatformClock::now() - opened, 2s);
}

TEST_F(SimulatedFaultTest, OpenNoticeNeverComesButBuffersStillDo) {
    NoticeLog log;
    auto stream = openCapture({.openNoticeDelay = std::nullopt}, log);
    BufferSet buffers(2, chunkBytes_);
    prepareAndAdd(*stream, buffers);
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 2));
    EXPECT_EQ(log.count(WaveNotice::opened), 0u);
}

TEST_F(SimulatedFaultTest, LateBufferComesBackAfterItsSuccessor) {
    NoticeLog log;
    auto stream = openCapture({.lateCompletion = 0}, log);
    BufferSet buffers(3, chunkBytes_);
    prepareAndAdd(*stream, buffers);
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 3));
    EXPECT_EQ(log.returnOrder(), (std::vector<std::size_t>{1, 0, 2}));
}

TEST_F(SimulatedFaultTest, FailedAddLeavesTheBufferPreparedAndOthersFlow) {
    NoticeLog log;
    auto stream = openCapture({.failingAdd = 1}, log);
    BufferSet buffers(3, chunkBytes_);
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        ASSERT_EQ(stream->prepare(buffers[i]), MMSYSERR_NOERROR);
        EXPECT_EQ(stream->add(buffers[i]), i == 1 ? MMSYSERR_ERROR : MMSYSERR_NOERROR);
    }
    EXPECT_EQ(buffers[1].flags.load(), WHDR_PREPARED);
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 2));
    EXPECT_EQ(log.returnOrder(), (std::vector<std::size_t>{0, 2}));
}

TEST_F(SimulatedFaultTest, RemovedDeviceHaltsTheStreamAndReturnsItsBuffers) {
    for (const bool busy : {true, false}) {
        SimulatedWaveDriver driver;
        driver.addDevice(WaveDirection::capture, {});
        NoticeLog log;
        std::unique_ptr<WaveStream> stream;
        ASSERT_EQ(driver.open({WaveDirection::capture, 0, format_, CALLBACK_EVENT, log.callback()},
                              stream),
                  MMSYSERR_NOERROR);
        BufferSet buffers(4, busy ? format_.bytesPerSecond() * 30 : chunkBytes_);
        prepareAndAdd(*stream, buffers);
        if (busy) {
            ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);  // unplugged mid-buffer
        }
        driver.removeDevice(WaveDirection::capture, 0);

        ASSERT_TRUE(log.waitFor(WaveNotice::halted, 1)) << "busy " << busy;
        ASSERT_TRUE(log.waitFor(WaveNotice::bufferDone, 4));
        EXPECT_EQ(stream->status(), MMSYSERR_NODRIVER);
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            EXPECT_TRUE(buffers[i].hasFlag(WHDR_DONE));
        }
        EXPECT_EQ(stream->add(buffers[0]), MMSYSERR_NODRIVER);
        EXPECT_EQ(stream->close(), MMSYSERR_NOERROR);

        std::unique_ptr<WaveStream> again;
        EXPECT_EQ(driver.open({WaveDirection::capture, 0, format_}, again), MMSYSERR_NODRIVER);
    }
}

TEST_F(SimulatedFaultTest, CallbackCannotReenterTheStream) {
    driver_.addDevice(WaveDirection::capture, {});
    std::unique_ptr<WaveStream> stream;
    std::mutex mutex;
    std::condition_variable seen;
    std::optional<MmResult> fromCallback;
    WaveBuffer* again = nullptr;
    auto callback = [&](WaveNotice notice, std::uintptr_t) {
        if (notice != WaveNotice::bufferDone) {
            return;
        }
        std::lock_guard lock(mutex);
        if (!fromCallback) {
            fromCallback = stream->add(*again);
            seen.notify_all();
        }
    };
    ASSERT_EQ(driver_.open({WaveDirection::capture, 0, format_, CALLBACK_EVENT, callback}, stream),
              MMSYSERR_NOERROR);
    BufferSet buffers(1, chunkBytes_);
    again = &buffers[0];
    prepareAndAdd(*stream, buffers);
    ASSERT_EQ(stream->start(), MMSYSERR_NOERROR);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(seen.wait_for(lock, 10s, [&] { return fromCallback.has_value(); }));
    EXPECT_EQ(*fromCallback, MMSYSERR_HANDLEBUSY);
}

}  // namespace
}  // namespace platform
