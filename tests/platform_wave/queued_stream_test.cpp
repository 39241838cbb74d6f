#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/wave/queued_wave_stream.h"
#include "wave_test_support.h"

namespace platform {
namespace {

using testing::BufferSet;
using testing::NoticeLog;

// A device that takes every byte at once and reports as unplayed whatever the
// test says is still in its ring.
class RingPort final : public WavePort {
  public:
    Event begin() override { return Event::none; }
    Transfer transfer(std::uint8_t*, std::size_t bytes) override {
        moved += bytes;
        return {bytes, Event::none};
    }
    void halt() override {}
    bool recover() override { return true; }
    bool alive() override { return true; }
    void wake() override {}
    std::uint64_t unplayedFrames() override {
        const auto frames = unplayed.load();
        std::lock_guard lock(mutex_);
        ++asked_;
        asked_changed_.notify_all();
        return frames;
    }
    int asked() {
        std::lock_guard lock(mutex_);
        return asked_;
    }
    // Waits until `bytes` have been moved and the stream has asked about them afterwards.
    bool waitAskedAfterMoving(std::size_t bytes, int askedBefore) {
        std::unique_lock lock(mutex_);
        return asked_changed_.wait_for(lock, std::chrono::seconds(10),
                                       [&] { return moved == bytes && asked_ > askedBefore; });
    }

    std::atomic<std::size_t> moved{0};
    std::atomic<std::uint64_t> unplayed{0};

  private:
    std::mutex mutex_;
    std::condition_variable asked_changed_;
    int asked_ = 0;
};

class QueuedPlaybackTest : public ::testing::Test {
  protected:
    QueuedPlaybackTest() {
        auto port = std::make_unique<RingPort>();
        port_ = port.get();
        stream_ = std::make_unique<QueuedWaveStream>(WaveDirection::playback, format_,
                                                     log_.callback(), std::move(port));
    }
    // Queues three 40 ms buffers and waits until the device has taken them all
    // and has been asked about them since.
    void playThreeWhileUnplayed(std::uint64_t unplayedFrames) {
        port_->unplayed = unplayedFrames;
        port_->moved = 0;
        const int askedBefore = port_->asked();
        for (std::size_t i = 0; i < buffers_.size(); ++i) {
            ASSERT_EQ(stream_->prepare(buffers_[i]), MMSYSERR_NOERROR);
            ASSERT_EQ(stream_->add(buffers_[i]), MMSYSERR_NOERROR);
        }
        ASSERT_TRUE(port_->waitAskedAfterMoving(3 * kChunkBytes, askedBefore));
    }

    static constexpr std::uint32_t kChunkFrames = 1764;  // 40 ms at 44.1 kHz
    static constexpr std::uint32_t kChunkBytes = kChunkFrames * 4;
    WaveFormat format_{WAVE_FORMAT_PCM, 2, 44100, 16};
    NoticeLog log_;
    BufferSet buffers_{3, kChunkBytes};
    RingPort* port_ = nullptr;
    std::unique_ptr<QueuedWaveStream> stream_;
};

// A sound card keeps a buffer until it has played it: the player's queue then
// holds what is still to be heard, and its refill rule keeps a real cushion.
TEST_F(QueuedPlaybackTest, BufferComesBackOnlyOnceTheDeviceHasPlayedIt) {
    playThreeWhileUnplayed(3 * kChunkFrames);
    EXPECT_EQ(log_.count(WaveNotice::bufferDone), 0u);
    EXPECT_TRUE(buffers_[0].hasFlag(WHDR_INQUEUE));

    port_->unplayed = 2 * kChunkFrames;  // the first one has been heard
    ASSERT_TRUE(log_.waitFor(WaveNotice::bufferDone, 1));
    port_->unplayed = 0;
    ASSERT_TRUE(log_.waitFor(WaveNotice::bufferDone, 3));
    EXPECT_EQ(log_.returnOrder(), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_TRUE(buffers_[2].hasFlag(WHDR_DONE));
    EXPECT_FALSE(buffers_[2].hasFlag(WHDR_INQUEUE));
}

TEST_F(QueuedPlaybackTest, ResetAndCloseReturnWhatTheDeviceStillHolds) {
    playThreeWhileUnplayed(3 * kChunkFrames);
    ASSERT_EQ(stream_->reset(), MMSYSERR_NOERROR);
    EXPECT_TRUE(buffers_[2].hasFlag(WHDR_DONE));
    EXPECT_TRUE(log_.waitFor(WaveNotice::bufferDone, 3));

    playThreeWhileUnplayed(3 * kChunkFrames);
    ASSERT_EQ(stream_->close(), MMSYSERR_NOERROR);
    EXPECT_TRUE(log_.waitFor(WaveNotice::bufferDone, 6));
}

}  // namespace
}  // namespace platform
