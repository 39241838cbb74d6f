#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/format/pcm_samples.h"
#include "framework/stream/memory_stream.h"
#include "test_node.h"

namespace {

std::vector<uint8_t> chunkOf(int bytes, uint8_t value = 0) {
    return std::vector<uint8_t>(bytes, value);
}

TEST(StreamDeviceFormat, ChunkRateAndSizeTable) {
    struct Case {
        uint16_t tag;
        uint32_t rate;
        uint16_t bits, channels, blockAlign;
        uint32_t avgBytes;
        unsigned expectRate, expectChunk;
    };
    const Case cases[] = {
        {WAVE_FORMAT_PCM, 44100, 16, 2, 4, 0, 25, 7056},
        {WAVE_FORMAT_PCM, 22050, 8, 1, 1, 0, 25, 882},
        {WAVE_FORMAT_PCM, 11127, 8, 1, 1, 0, 10, 1113},
        {WAVE_FORMAT_PCM, 48000, 16, 1, 2, 0, 25, 3840},
        {0x55, 0, 0, 0, 0, 1625, 25, 512},  // compressed: block alignment 0 means 512
    };
    for (const Case& c : cases) {
        TestNode node;
        WAVEFORMATEX format{};
        format.wFormatTag = c.tag;
        format.nSamplesPerSec = c.rate;
        format.wBitsPerSample = c.bits;
        format.nChannels = c.channels;
        format.nBlockAlign = c.blockAlign;
        format.nAvgBytesPerSec = c.avgBytes ? c.avgBytes : c.rate * c.blockAlign;
        ASSERT_TRUE(node.applyFormat(true, format));
        EXPECT_EQ(node.chunksPerSecond(), c.expectRate) << c.rate;
        EXPECT_EQ(node.chunkSize(), c.expectChunk) << c.rate;
    }
}

TEST(StreamDeviceFormat, OtherSideKeepsChunkRateAndSetsOtherChunkSize) {
    TestNode node;  // main format is the source
    WAVEFORMATEX format{};
    buildPcmFormat(format, 11127, 8, 1);
    node.applyFormat(false, format);
    EXPECT_EQ(node.chunksPerSecond(), 25u);
    EXPECT_EQ(node.chunkSize(), 7056u);
    EXPECT_EQ(node.otherChunkSize(), 11127u / 25);
    EXPECT_EQ(node.dstFormatText(), "PCM: 11,127 Hz; 8 Bit; Mono");
}

class StreamDeviceOpen : public ::testing::Test {
  protected:
    TestNode node;
};

TEST_F(StreamDeviceOpen, OpenAndCloseAreIdempotent) {
    EXPECT_EQ(node.close(), 0u);  // closed already
    ASSERT_EQ(node.open(), 0u);
    EXPECT_TRUE(node.isOpen());
    EXPECT_EQ(node.status(), unaThreadStatus::running);
    EXPECT_EQ(node.open(), 0u);  // open already
    EXPECT_EQ(node.close(), 0u);
    EXPECT_FALSE(node.isOpen());
    EXPECT_EQ(node.status(), unaThreadStatus::stopped);
}

TEST_F(StreamDeviceOpen, BackEndFailureIsReturnedAndLeavesNodeClosed) {
    node.openResult = 4;
    EXPECT_EQ(node.open(), 4u);
    EXPECT_FALSE(node.isOpen());
}

TEST_F(StreamDeviceOpen, QueryOpenStartsNoWorker) {
    EXPECT_EQ(node.open(true), 0u);
    EXPECT_EQ(node.status(), unaThreadStatus::stopped);
}

TEST_F(StreamDeviceOpen, LateCompletionWithinTimeoutOpens) {
    node.completion = TestNode::Completion::late;
    node.lateMs = 50;
    EXPECT_EQ(node.open(false, 10000), 0u);
    EXPECT_TRUE(node.isOpen());
}

TEST_F(StreamDeviceOpen, CompletionAfterTimeoutGivesBusyAndClosesAgain) {
    for (auto completion : {TestNode::Completion::never, TestNode::Completion::late}) {
        node.completion = completion;
        node.lateMs = 2000;
        const int closesBefore = node.doCloseCalls;
        EXPECT_EQ(node.open(false, 100), 12u);
        EXPECT_FALSE(node.isOpen());
        EXPECT_EQ(node.doCloseCalls, closesBefore + 1);
    }
}

TEST_F(StreamDeviceOpen, OpenCloseGateHeldElsewhereGivesBusy) {
    // close() from a worker-held gate: simulate by holding it through a slow open on another
    // thread.
    node.completion = TestNode::Completion::late;
    node.lateMs = 3000;
    std::thread opener([&] { node.open(false, 10000); });
    // Wait until the other open holds the gate: doOpen has set the handle.
    while (!node.isOpen()) {
        std::this_thread::yield();
    }
    EXPECT_EQ(node.close(), 12u);
    opener.join();
    EXPECT_EQ(node.close(), 0u);
}

// A producer feeding consumers in different states.
class Chain : public ::testing::Test {
  protected:
    void SetUp() override {
        producer.setMetering(true);
        ASSERT_EQ(producer.linkConsumer(&consumer), 0);
    }
    // A consumer may only go once its producer is closed.
    void TearDown() override { producer.close(); }
    TestNode producer{false};
    TestNode consumer{true, 0};
};

TEST_F(Chain, ClosedConsumerRejectsChunks) {
    auto chunk = chunkOf(7056);
    EXPECT_EQ(producer.deliver(chunk.data(), 7056), 0);
    EXPECT_EQ(consumer.getStreamSize(true), 0);
}

TEST_F(Chain, LinkTwiceFailsAndStillDropsOutputStream) {
    producer.setStream(false, new unaMemoryStream(), true);
    EXPECT_EQ(producer.linkConsumer(&consumer, true), -1);
    EXPECT_EQ(producer.outputStream(), nullptr);
    EXPECT_TRUE(producer.unlinkConsumer(&consumer));
    EXPECT_FALSE(producer.unlinkConsumer(&consumer));
}

TEST_F(Chain, OnChunkReadyRunsOnTheProducersWorker) {
    TestNode source{true};
    ASSERT_EQ(source.linkConsumer(&producer), 0);
    std::mutex mutex;
    std::thread::id handlerThread;
    unaEvent called;
    producer.setOnChunkReady([&](unaMsAcmStreamDevice&, const void*, int size) {
        std::lock_guard lock(mutex);
        handlerThread = std::this_thread::get_id();
        EXPECT_EQ(size, 7056);
        called.setState(true);
    });
    producer.setStream(true, new unaMemoryStream(), true);
    ASSERT_EQ(producer.open(), 0u);
    ASSERT_EQ(source.open(), 0u);
    auto chunk = chunkOf(7056);
    source.acceptChunk(chunk.data(), 7056);
    ASSERT_TRUE(called.waitFor(10000));
    source.close();
    const auto worker = producer.threadId();
    producer.close();
    std::lock_guard lock(mutex);
    EXPECT_EQ(handlerThread, worker);
    EXPECT_NE(handlerThread, std::this_thread::get_id());
}

TEST(ChainOverflow, FullConsumerDropsAndCounts) {
    TestNode producer{false};
    TestNode consumer{true, 2};
    producer.linkConsumer(&consumer);
    ASSERT_EQ(consumer.inLimitBytes(), 14112u);
    // The consumer's worker must not drain: keep it open with a stopped worker.
    ASSERT_EQ(consumer.open(), 0u);
    consumer.stop(10000);
    auto chunk = chunkOf(7056);
    for (int i = 0; i < 4; ++i) {
        producer.deliver(chunk.data(), 7056);
    }
    EXPECT_EQ(consumer.getStreamSize(true), 3 * 7056);
    EXPECT_EQ(consumer.inOverflowBytes(), 7056);
}

TEST(ChainThreads, ChunksFlowThroughOpenConsumersInOrder) {
    TestNode head{true}, middle{true}, tail{true};
    head.linkConsumer(&middle);
    middle.linkConsumer(&tail);
    std::vector<uint8_t> received;
    std::mutex mutex;
    unaEvent done;
    constexpr int kChunks = 50;
    tail.setOnChunkReady([&](unaMsAcmStreamDevice&, const void* data, int size) {
        std::lock_guard lock(mutex);
        const auto* bytes = static_cast<const uint8_t*>(data);
        received.insert(received.end(), bytes, bytes + size);
        if (received.size() == size_t(kChunks) * 7056) {
            done.setState(true);
        }
    });
    for (auto* node : {&tail, &middle, &head}) {  // consumers first
        ASSERT_EQ(node->open(), 0u);
    }
    for (int i = 0; i < kChunks; ++i) {
        auto chunk = chunkOf(7056, uint8_t(i));
        while (head.acceptChunk(chunk.data(), 7056) == 0) {
        }
    }
    ASSERT_TRUE(done.waitFor(10000));
    for (auto* node : {&head, &middle, &tail}) {  // producers first
        node->close();
    }
    std::lock_guard lock(mutex);
    for (int i = 0; i < kChunks; ++i) {
        ASSERT_EQ(received[size_t(i) * 7056], uint8_t(i));
    }
}

TEST(ChainThreads, ClosingConsumerAcceptsOnlyWhileFlushing) {
    TestNode consumer{true};
    ASSERT_EQ(consumer.open(), 0u);
    auto chunk = chunkOf(100);
    int whileClosing = -1, whileFlushing = -1;
    consumer.onFlush = [&](TestNode& self) {
        whileClosing = self.acceptChunk(chunk.data(), 100);
        self.setFlushing(true);
        whileFlushing = self.acceptChunk(chunk.data(), 100);
        self.setFlushing(false);
    };
    consumer.close();
    EXPECT_EQ(whileClosing, 0);
    EXPECT_EQ(whileFlushing, 100);
    EXPECT_EQ(consumer.acceptChunk(chunk.data(), 100), 0);  // closed
}

TEST(Metering, LevelsPerChannelAndZeroAfterClose) {
    TestNode node{true};
    ASSERT_EQ(node.open(), 0u);
    node.stop(10000);  // deliver from this thread only
    std::vector<uint8_t> chunk(7056);
    uint8_t* p = chunk.data();
    for (int i = 0; i < 7056 / 4; ++i) {
        writeSample(1000, 16, p);   // left
        writeSample(-3000, 16, p);  // right
    }
    node.deliver(chunk.data(), 7056);
    EXPECT_EQ(node.getVolume(0), 0u);  // metering off
    node.setMetering(true);
    node.deliver(chunk.data(), 7056);
    EXPECT_EQ(node.getVolume(0), 1000u);
    EXPECT_EQ(node.getVolume(1), 3000u);
    EXPECT_EQ(node.getVolume(257), 3000u);  // channel index wraps at 256
    node.close();
    EXPECT_EQ(node.getVolume(1), 0u);
}

// A header the tests complete by hand.
class ScriptedHeader : public unaMsAcmDeviceHeader {
  public:
    using unaMsAcmDeviceHeader::unaMsAcmDeviceHeader;
    bool hasFlag(uint32_t) const override { return false; }
    void setFlag(uint32_t, bool) override {}
    bool isDone() const override { return done; }
    bool isQueued() const override { return queued; }
    std::atomic<bool> done{false}, queued{true};
};

TEST(Headers, ReturnedOutOfOrderAreTakenInArmingOrder) {
    TestNode node;
    ASSERT_EQ(node.open(), 0u);
    std::vector<ScriptedHeader*> h;
    for (int i = 0; i < 3; ++i) {
        h.push_back(new ScriptedHeader(&node));
        h.back()->rearm();
        node.headers().add(h.back());
    }
    EXPECT_EQ(h[2]->sequenceNumber(), 3u);
    std::vector<uint32_t> order;
    for (int returned : {1, 0, 2}) {  // the system returns 2, 1, 3
        h[returned]->done = true;
        h[returned]->queued = false;
        while (auto* found = node.findDoneHeader(false, false)) {
            order.push_back(found->sequenceNumber());
        }
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{1, 2, 3}));
}

TEST(Headers, ReleaseFreesReturnedAndKeepsWhatTheSystemMayStillTouch) {
    TestNode node;
    auto* returned = new ScriptedHeader(&node);
    returned->done = true;
    returned->queued = false;
    node.headers().add(returned);
    node.releaseHeaders();
    EXPECT_EQ(node.headers().count(), 0u);
    // A header that never returns: after the bound, this back end (which holds
    // no buffers) lets it be freed.
    node.headers().add(new ScriptedHeader(&node));
    const unsigned leakedBefore = unaMsAcmStreamDevice::leakedHeaders();
    node.releaseHeaders();
    EXPECT_EQ(node.headers().count(), 0u);
    EXPECT_EQ(unaMsAcmStreamDevice::leakedHeaders(), leakedBefore);
    // A back end that may still write into it: kept alive, never freed.
    node.backendHoldsBuffers = true;
    node.headers().add(new ScriptedHeader(&node));
    node.releaseHeaders();
    EXPECT_EQ(node.headers().count(), 0u);
    EXPECT_EQ(unaMsAcmStreamDevice::leakedHeaders(), leakedBefore + 1);
}

}  // namespace
