#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "audio/format/pcm_samples.h"
#include "audio/wave/wave_in_device.h"
#include "audio/wave/wave_out_device.h"
#include "platform/wave/simulated_wave_driver.h"

using namespace platform;

namespace {

// Sample value = frame number, so any gap, repeat or reordering shows.
class RampSignal : public CaptureSignal {
  public:
    std::int16_t sample(std::uint64_t frame, unsigned, std::uint32_t) const override {
        return std::int16_t(frame % 30000);
    }
};

// Collects what a node delivers, on the node's worker.
struct Collector {
    std::mutex mutex;
    std::vector<int16_t> samples;
    unaEvent enough;
    size_t wanted = 0;

    void attach(unaMsAcmStreamDevice& node) {
        node.setOnChunkReady([this](unaMsAcmStreamDevice&, const void* data, int size) {
            std::lock_guard lock(mutex);
            const auto* p = static_cast<const uint8_t*>(data);
            for (int i = 0; i < size / 2; ++i) {
                samples.push_back(int16_t(readSample(16, p)));
            }
            if (samples.size() >= wanted) {
                enough.setState(true);
            }
        });
    }
};

class WaveDevices : public ::testing::Test {
  protected:
    void SetUp() override {
        SimulatedDeviceConfig mic;
        mic.name = "Radio in";
        mic.signal = std::make_shared<RampSignal>();
        captureId = driver->addDevice(WaveDirection::capture, mic);
        SimulatedDeviceConfig speakers;
        speakers.name = "TV out";
        playbackId = driver->addDevice(WaveDirection::playback, speakers);
    }

    std::shared_ptr<SimulatedWaveDriver> driver = std::make_shared<SimulatedWaveDriver>();
    ScopedWaveDriver scoped{driver};
    int captureId = 0, playbackId = 0;
};

TEST_F(WaveDevices, CaptureQueuesFiveBuffersAndDeliversEveryFrameInOrder) {
    for (bool outOfOrder : {false, true}) {
        if (outOfOrder) {
            SimulatedDeviceConfig late;
            late.signal = std::make_shared<RampSignal>();
            late.faults.lateCompletion = 1;  // the driver returns buffers 2, 1, 3
            captureId = driver->addDevice(WaveDirection::capture, late);
        }
        unaWaveInDevice capture(captureId);
        capture.setPcmSampling(8000, 16, 1);
        capture.setStream(false, nullptr, false);
        Collector collector;
        collector.wanted = 15 * 320;
        collector.attach(capture);
        ASSERT_EQ(capture.open(), 0u);
        ASSERT_TRUE(collector.enough.waitFor(10000));
        EXPECT_EQ(capture.headerCount(), 5u) << "steady state makes no new buffers";
        capture.close();
        std::lock_guard lock(collector.mutex);
        for (size_t i = 0; i < collector.samples.size(); ++i) {
            ASSERT_EQ(collector.samples[i], int16_t(i % 30000)) << "frame " << i << outOfOrder;
        }
    }
}

TEST_F(WaveDevices, OpenFailuresAreReturnedWithTexts) {
    SimulatedDeviceConfig busy;
    busy.openResult = MMSYSERR_ALLOCATED;
    const int busyId = driver->addDevice(WaveDirection::capture, busy);
    unaWaveInDevice capture(busyId);
    capture.setPcmSampling(44100, 16, 2);
    EXPECT_EQ(capture.open(), MMSYSERR_ALLOCATED);
    EXPECT_FALSE(capture.isOpen());
    EXPECT_FALSE(capture.getErrorText(MMSYSERR_ALLOCATED).empty());

    unaWaveInDevice missing(42);
    missing.setPcmSampling(44100, 16, 2);
    EXPECT_EQ(missing.open(), MMSYSERR_BADDEVICEID);

    unaWaveOutDevice out(playbackId);
    out.setPcmSampling(44100, 24, 2);  // not carried
    const MMRESULT bad = out.open();
    EXPECT_EQ(bad, WAVERR_BADFORMAT);
    EXPECT_NE(out.getErrorText(bad).find("unsupported wave format"), std::string::npos);
}

TEST_F(WaveDevices, QueryOpenLeavesTheDeviceClosed) {
    unaWaveInDevice capture(captureId);
    capture.setPcmSampling(44100, 16, 2);
    EXPECT_EQ(capture.open(true), 0u);
    EXPECT_FALSE(capture.isOpen());
    EXPECT_EQ(capture.status(), unaThreadStatus::stopped);
    EXPECT_EQ(capture.getPosition(), 0);
}

TEST_F(WaveDevices, DeviceListStartsWithTheMapper) {
    WaveDeviceCaps caps;
    EXPECT_TRUE(unaWaveInDevice::queryDeviceCaps(-1, caps));
    EXPECT_TRUE(unaWaveInDevice::queryDeviceCaps(captureId, caps));
    EXPECT_EQ(caps.productName, "Radio in");
    EXPECT_EQ(unaWaveInDevice::getDeviceCount(), 1);
    EXPECT_FALSE(unaWaveOutDevice::queryDeviceCaps(5, caps));
}

// Playback with its worker held still, so the test drives each service step.
class SteppedPlayback : public unaWaveOutDevice {
  public:
    using unaWaveOutDevice::flush;
    using unaWaveOutDevice::unaWaveOutDevice;
    ~SteppedPlayback() override { close(); }  // before this class's view goes
    bool step() { return serviceHeader(nullptr, false); }
};

class Playback : public WaveDevices {
  protected:
    void SetUp() override {
        WaveDevices::SetUp();
        out = std::make_unique<SteppedPlayback>(playbackId);
        out->setPcmSampling(8000, 16, 1);
        ASSERT_EQ(out->open(), 0u);
        ASSERT_TRUE(out->stop(10000));
        ASSERT_EQ(out->status(), unaThreadStatus::stopped);
        chunk.assign(out->chunkSize(), 0);
    }
    void feed(int chunks) {
        for (int i = 0; i < chunks; ++i) {
            ASSERT_EQ(out->acceptChunk(chunk.data(), int(chunk.size())), int(chunk.size()));
        }
    }
    std::unique_ptr<SteppedPlayback> out;
    std::vector<uint8_t> chunk;
};

TEST_F(Playback, StartsOnTwoChunksAndTopsUpToThreeThenFour) {
    struct Step {
        int feedChunks;
        int expectQueued;
        uint64_t expectUnderruns;
    };
    const Step steps[] = {
        {1, 0, 1},             // one chunk: not enough to start, an underrun
        {0, 0, 2}, {4, 3, 2},  // five waiting: three at once
        {0, 4, 2},             // the next step adds the fourth
        {1, 4, 2},             // never more than four
    };
    const uint64_t before = out->underrunCount();  // the worker's own steps before it stopped
    for (const Step& s : steps) {
        feed(s.feedChunks);
        out->step();
        EXPECT_EQ(out->queuedHeaders(), s.expectQueued);
        EXPECT_EQ(out->underrunCount() - before, s.expectUnderruns);
    }
}

TEST_F(Playback, TwoChunksTogetherWriteTwoBuffers) {
    int queued = 0;
    out->setOnChunkQueued([&](unaWaveOutDevice&, const void*, int size) {
        EXPECT_EQ(size, int(chunk.size()));
        ++queued;
    });
    feed(2);
    out->step();
    EXPECT_EQ(queued, 2);
    EXPECT_EQ(out->headerCount(), 2u);
}

TEST_F(Playback, FlushLeavesAtMostOneChunk) {
    ASSERT_TRUE(out->start());  // flush drains only while the worker runs
    out->setOnChunkQueued(nullptr);
    feed(6);
    out->flush(false);
    EXPECT_LE(out->getStreamSize(true), int(chunk.size()));
}

TEST_F(WaveDevices, PlaysWhatArrivesAndReusesBuffers) {
    unaWaveOutDevice out(playbackId);
    out.setPcmSampling(8000, 16, 1);
    ASSERT_EQ(out.open(), 0u);
    std::vector<uint8_t> data(out.chunkSize());
    unaEvent playedEnough;
    std::atomic<int> played{0};
    out.setOnChunkPlayed([&](unaWaveOutDevice&, const void*, int) {
        if (++played == 20) {
            playedEnough.setState(true);
        }
    });
    for (int i = 0; i < 24; ++i) {
        uint8_t* p = data.data();
        for (unsigned s = 0; s < out.chunkSize() / 2; ++s) {
            writeSample(int16_t(i * 1000 + 1), 16, p);
        }
        while (out.acceptChunk(data.data(), int(data.size())) == 0) {
            out.inputStream()->dataEvent().waitFor(10);
        }
        while (out.getStreamSize(true) > 6 * int(data.size())) {
            out.inputStream()->dataEvent().waitFor(10);  // stay under the overflow limit
        }
    }
    ASSERT_TRUE(playedEnough.waitFor(20000));
    EXPECT_LE(out.headerCount(), 4u) << "completed buffers are reused";
    out.close();
    const auto buffers = driver->played(playbackId);
    ASSERT_GE(buffers.size(), 20u);
    for (size_t i = 0; i < 20; ++i) {
        const uint8_t* p = buffers[i].data.data();
        EXPECT_EQ(readSample(16, p), int(i * 1000 + 1)) << i;
    }
}

TEST_F(WaveDevices, RemovedDeviceHaltsWithoutHanging) {
    unaWaveInDevice capture(captureId);
    capture.setPcmSampling(8000, 16, 1);
    Collector collector;
    collector.wanted = 320;
    collector.attach(capture);
    ASSERT_EQ(capture.open(), 0u);
    ASSERT_TRUE(collector.enough.waitFor(10000));
    driver->removeDevice(WaveDirection::capture, captureId);
    for (int i = 0; i < 500 && capture.streamStatus() == 0; ++i) {
        capture.inputStream();  // nothing to wait on: the halt has no event of its own
        collector.enough.waitFor(10);
    }
    EXPECT_EQ(capture.streamStatus(), MMSYSERR_NODRIVER);
    EXPECT_EQ(capture.close(), 0u);
}

}  // namespace
