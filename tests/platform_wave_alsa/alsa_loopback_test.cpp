#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <numeric>
#include <optional>

#include "alsa_test_support.h"
#include "platform/clock/platform_clock.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using testing::findDevice;
using testing::insidePulseStack;
using testing::makeStackDriver;

constexpr WaveFormat kCd{WAVE_FORMAT_PCM, 2, 44100, 16};
constexpr std::uint32_t kChunkFrames = 1764;  // 40 ms
constexpr std::uint32_t kChunkBytes = kChunkFrames * 4;
constexpr std::size_t kLoopPrebuffer = 3;  // chunks waiting before the loop starts playing

enum Role : int { source, radioIn, loopOut, tvIn, roles };

// Buffer completions of every stream, handed from the driver threads to the test.
class Completions {
  public:
    struct Item {
        int role;
        std::size_t buffer;
        PlatformClock::time_point at;
    };
    WaveCallback callbackFor(int role) {
        return [this, role](WaveNotice notice, std::uintptr_t user) {
            if (notice != WaveNotice::bufferDone) {
                return;
            }
            std::lock_guard lock(mutex_);
            items_.push_back({role, user, PlatformClock::now()});
            changed_.notify_all();
        };
    }
    std::optional<Item> next(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, timeout, [&] { return !items_.empty(); })) {
            return std::nullopt;
        }
        auto item = items_.front();
        items_.pop_front();
        return item;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
};

// One stream with its own buffers of one chunk each.
struct Channel {
    std::vector<std::vector<std::uint8_t>> blocks;
    std::deque<WaveBuffer> buffers;
    std::unique_ptr<WaveStream> stream;  // last: closed before its buffers go

    void makeBuffers(std::size_t count) {
        blocks.assign(count, std::vector<std::uint8_t>(kChunkBytes));
        for (std::size_t i = 0; i < count; ++i) {
            auto& b = buffers.emplace_back();
            b.data = blocks[i].data();
            b.bufferLength = kChunkBytes;
            b.user = i;
            ASSERT_EQ(stream->prepare(b), MMSYSERR_NOERROR);
        }
    }
};

// What a capture stream brought back: the left channel and when each buffer came.
struct Recording {
    std::vector<std::int16_t> left;
    std::vector<std::pair<std::size_t, PlatformClock::time_point>> ends;  // frame count, time

    void append(const WaveBuffer& b, PlatformClock::time_point at) {
        const std::size_t frames = b.bytesRecorded / 4;
        for (std::size_t f = 0; f < frames; ++f) {
            left.push_back(static_cast<std::int16_t>(b.data[4 * f] | (b.data[4 * f + 1] << 8)));
        }
        ends.emplace_back(left.size(), at);
    }
    std::vector<std::size_t> clicks() const {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (std::abs(left[i]) > 10000 && (found.empty() || i - found.back() > 2000)) {
                found.push_back(i);
            }
        }
        return found;
    }
    PlatformClock::time_point timeOf(std::size_t frame) const {
        for (const auto& [end, at] : ends) {
            if (frame < end) {
                return at - std::chrono::duration_cast<PlatformClock::duration>(
                                std::chrono::duration<double>((end - frame) / 44100.0));
            }
        }
        return ends.back().second;
    }
};

std::vector<std::int16_t> makeClickTrack(const std::vector<std::size_t>& clickFrames,
                                         std::size_t totalFrames) {
    std::vector<std::int16_t> track(totalFrames * 2, 0);
    for (const auto at : clickFrames) {
        for (std::size_t f = at; f < at + 32 && f < totalFrames; ++f) {
            track[2 * f] = track[2 * f + 1] = 20000;
        }
    }
    return track;
}

TEST(AlsaLoopback, ClicksArriveInOrderWithoutGapsThroughTheSoundServer) {
    if (!insidePulseStack()) {
        GTEST_SKIP() << "needs scripts/pulse_stack.sh (a private PulseAudio server)";
    }
    auto driver = makeStackDriver();
    const int radioSink = findDevice(*driver, WaveDirection::playback, "Radio");
    const int tvMonitor = findDevice(*driver, WaveDirection::capture, "TV monitor");
    ASSERT_GE(radioSink, 0);
    ASSERT_GE(tvMonitor, 0);

    // Clicks at distinct intervals, so that a swap or a gap shows.
    std::vector<std::size_t> clickFrames{26460};  // 0.6 s
    for (std::size_t k = 0; k < 7; ++k) {
        clickFrames.push_back(clickFrames.back() + (150 + 40 * k) * 441 / 10);
    }
    const std::size_t trackChunks = (clickFrames.back() + 44100) / kChunkFrames + 1;
    const auto track = makeClickTrack(clickFrames, trackChunks * kChunkFrames);

    Completions completions;
    Channel ch[roles];
    const struct {
        Role role;
        WaveDirection direction;
        int device;
        std::size_t buffers;
    } plan[] = {{source, WaveDirection::playback, radioSink, 4},
                {radioIn, WaveDirection::capture, WAVE_MAPPER, 6},
                {tvIn, WaveDirection::capture, tvMonitor, 6},
                {loopOut, WaveDirection::playback, WAVE_MAPPER, 32}};
    for (const auto& p : plan) {
        const MmResult result = driver->open(
            {p.direction, p.device, kCd, CALLBACK_EVENT, completions.callbackFor(p.role)},
            ch[p.role].stream);
        ASSERT_EQ(result, MMSYSERR_NOERROR) << driver->errorText(result);
        ch[p.role].makeBuffers(p.buffers);
    }
    // Capture starts once the radio sink has a player: an idle null sink hands
    // its monitor large bursts, which would only add a backlog to the loop.
    auto startCaptures = [&] {
        for (const Role capture : {radioIn, tvIn}) {
            for (auto& b : ch[capture].buffers) {
                ASSERT_EQ(ch[capture].stream->add(b), MMSYSERR_NOERROR);
            }
            ASSERT_EQ(ch[capture].stream->start(), MMSYSERR_NOERROR);
        }
    };
    std::size_t nextChunk = 0;
    auto feedSource = [&](WaveBuffer& b) {
        if (nextChunk < trackChunks) {
            std::memcpy(b.data, track.data() + nextChunk * kChunkFrames * 2, kChunkBytes);
            ++nextChunk;
            ASSERT_EQ(ch[source].stream->add(b), MMSYSERR_NOERROR);
        }
    };
    for (auto& b : ch[source].buffers) {
        feedSource(b);
    }

    Recording radio;
    Recording tv;
    std::deque<std::size_t> freeOut;
    for (std::size_t i = 0; i < ch[loopOut].buffers.size(); ++i) {
        freeOut.push_back(i);
    }
    std::deque<std::size_t> waitingOut;
    bool loopStarted = false;
    bool heardClick = false;
    std::size_t sourceDone = 0;
    std::size_t loopDone = 0;
    std::optional<PlatformClock::time_point> finishAt;
    while (!finishAt || PlatformClock::now() < *finishAt) {
        const auto item = completions.next(100ms);
        if (!item) {
            ASSERT_EQ(ch[radioIn].stream->status(), MMSYSERR_NOERROR);
            continue;
        }
        auto& b = ch[item->role].buffers[item->buffer];
        switch (item->role) {
            case source:
                if (++sourceDone == 5) {
                    startCaptures();
                }
                if (sourceDone == trackChunks) {
                    finishAt = PlatformClock::now() + 1500ms;
                }
                feedSource(b);
                break;
            case radioIn:
                radio.append(b, item->at);
                heardClick = heardClick || !radio.clicks().empty();
                // Until the first click, silence that would only lengthen a backlog
                // (a sink's start-up burst) is dropped, as a live program would.
                if (!heardClick && loopStarted &&
                    ch[loopOut].buffers.size() - freeOut.size() > kLoopPrebuffer + 1) {
                    ASSERT_EQ(ch[radioIn].stream->add(b), MMSYSERR_NOERROR);
                    break;
                }
                // A plain loopback: play what came in, starting once a few chunks wait.
                ASSERT_FALSE(freeOut.empty())
                    << "loopback playback does not drain: " << radio.ends.size() << " in, "
                    << loopDone << " out, xruns " << ch[loopOut].stream->xrunCount() << ", status "
                    << ch[loopOut].stream->status() << ", source " << sourceDone;
                std::memcpy(ch[loopOut].blocks[freeOut.front()].data(), b.data, kChunkBytes);
                waitingOut.push_back(freeOut.front());
                freeOut.pop_front();
                if (loopStarted || waitingOut.size() >= kLoopPrebuffer) {
                    loopStarted = true;
                    for (const auto i : waitingOut) {
                        ASSERT_EQ(ch[loopOut].stream->add(ch[loopOut].buffers[i]),
                                  MMSYSERR_NOERROR);
                    }
                    waitingOut.clear();
                }
                ASSERT_EQ(ch[radioIn].stream->add(b), MMSYSERR_NOERROR);
                break;
            case loopOut:
                ++loopDone;
                freeOut.push_back(item->buffer);
                break;
            case tvIn:
                tv.append(b, item->at);
                ASSERT_EQ(ch[tvIn].stream->add(b), MMSYSERR_NOERROR);
                break;
        }
    }
    const auto loopXruns = ch[loopOut].stream->xrunCount();
    for (auto& c : ch) {
        EXPECT_EQ(c.stream->reset(), MMSYSERR_NOERROR);
        EXPECT_EQ(c.stream->close(), MMSYSERR_NOERROR);
    }

    const auto radioClicks = radio.clicks();
    const auto tvClicks = tv.clicks();
    ASSERT_EQ(radioClicks.size(), clickFrames.size());
    ASSERT_EQ(tvClicks.size(), clickFrames.size())
        << "tv clicks at " << ::testing::PrintToString(tvClicks) << " of " << tv.left.size()
        << " frames; radio clicks at " << ::testing::PrintToString(radioClicks);
    double latencySum = 0;
    for (std::size_t k = 0; k < clickFrames.size(); ++k) {
        if (k > 0) {
            const auto expected = clickFrames[k] - clickFrames[k - 1];
            EXPECT_NEAR(static_cast<double>(radioClicks[k] - radioClicks[k - 1]), expected, 2);
            // Same spacing after the loop: in order, nothing lost or inserted.
            EXPECT_NEAR(static_cast<double>(tvClicks[k] - tvClicks[k - 1]), expected, 2)
                << "click " << k;
        }
        latencySum += std::chrono::duration<double, std::milli>(tv.timeOf(tvClicks[k]) -
                                                                radio.timeOf(radioClicks[k]))
                          .count();
    }
    const double latencyMs = latencySum / static_cast<double>(clickFrames.size());
    std::printf("capture->playback loopback latency: %.1f ms (loopback xruns %llu)\n", latencyMs,
                static_cast<unsigned long long>(loopXruns));
    ::testing::Test::RecordProperty("loopback_latency_ms", std::to_string(latencyMs));
    EXPECT_GT(latencyMs, 0.0);
    EXPECT_LT(latencyMs, 1000.0);
}

}  // namespace
}  // namespace platform
