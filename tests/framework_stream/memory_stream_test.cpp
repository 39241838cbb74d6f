#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

#include "framework/stream/memory_stream.h"

namespace {

std::vector<uint8_t> bytes(int n, uint8_t start) {
    std::vector<uint8_t> v(n);
    std::iota(v.begin(), v.end(), start);
    return v;
}

class MemoryStream : public ::testing::Test {
  protected:
    // Chunks of 300, 300 and 600 bytes with running byte values.
    void fillThreeChunks() {
        for (int size : {300, 300, 600}) {
            auto data = bytes(size, uint8_t(written_));
            ASSERT_EQ(stream.write(data.data(), size), size);
            written_ += size;
        }
    }
    unaMemoryStream stream;
    int written_ = 0;
};

TEST_F(MemoryStream, ReadSpansChunksAndKeepsPartialHead) {
    fillThreeChunks();
    for (bool remove : {false, true}) {
        std::vector<uint8_t> out(1000);
        ASSERT_EQ(stream.read(out.data(), 1000, remove), 1000);
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(out[i], uint8_t(i)) << i;
        }
    }
    EXPECT_EQ(stream.getSize(), 200);
    EXPECT_EQ(stream.firstChunkSize(), 200);
    EXPECT_EQ(stream.queuedChunks(), 1u);
    EXPECT_EQ(stream.cachedChunks(), 2u);
}

TEST_F(MemoryStream, PeekLeavesEverythingInPlace) {
    fillThreeChunks();
    std::vector<uint8_t> out(1000);
    stream.read(out.data(), 1000, false);
    EXPECT_EQ(stream.getSize(), 1200);
    EXPECT_EQ(stream.queuedChunks(), 3u);
    EXPECT_EQ(stream.cachedChunks(), 0u);
}

TEST_F(MemoryStream, ShortAndEmptyReads) {
    std::vector<uint8_t> out(5000);
    EXPECT_EQ(stream.read(out.data(), 5000), 0);
    fillThreeChunks();
    EXPECT_EQ(stream.read(out.data(), 5000), 1200);
    EXPECT_EQ(stream.getSize(), 0);
    EXPECT_EQ(stream.read(nullptr, 10), 0);
}

TEST_F(MemoryStream, EmptyWritesStoreNothingNullStillSignals) {
    uint8_t b = 1;
    EXPECT_EQ(stream.write(&b, 0), 0);
    EXPECT_FALSE(stream.dataEvent().waitFor(0));
    EXPECT_EQ(stream.write(nullptr, 10), 0);
    EXPECT_TRUE(stream.dataEvent().waitFor(0));
    EXPECT_EQ(stream.getSize(), 0);
}

// Leaves chunks of the given sizes in the cache, oldest first.
void primeCache(unaMemoryStream& s, std::initializer_list<int> capacities) {
    for (int c : capacities) {
        auto data = bytes(c, 0);
        s.write(data.data(), c);
    }
    std::vector<uint8_t> sink(100000);
    s.read(sink.data(), int(sink.size()));
}

TEST(MemoryStreamCache, FullCacheKeepsTheLargerChunks) {
    unaMemoryStream s;
    primeCache(s, {100, 100, 100, 100, 100, 100, 100, 100, 100, 100});
    ASSERT_EQ(s.cachedChunks(), 10u);
    primeCache(s, {50});  // reuses a 100 chunk, which goes back
    primeCache(s, {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 200});
    EXPECT_EQ(s.cachedChunks(), 10u);
    int total = 0;
    for (unsigned i = 0; i < s.cachedChunks(); ++i) {
        total += s.cachedCapacity(i);
    }
    EXPECT_EQ(total, 9 * 100 + 200);
}

TEST(MemoryStreamCache, WriteReusesFirstLargeEnoughOrGrowsTheLast) {
    struct Case {
        std::initializer_list<int> cached;
        int reusedCapacity;
    };
    for (const Case& c : {Case{{100, 500, 800}, 500}, Case{{100, 200}, 400}}) {
        unaMemoryStream s;
        primeCache(s, c.cached);
        const unsigned before = s.cachedChunks();
        auto data = bytes(400, 0);
        s.write(data.data(), 400);
        EXPECT_EQ(s.cachedChunks(), before - 1);
        for (unsigned i = 0; i < s.cachedChunks(); ++i) {
            EXPECT_NE(s.cachedCapacity(i), c.reusedCapacity);
        }
    }
}

TEST(MemoryStreamCache, ClearEmptiesDataAndCache) {
    unaMemoryStream s;
    primeCache(s, {100, 200});
    auto data = bytes(10, 0);
    s.write(data.data(), 10);
    s.clear();
    EXPECT_EQ(s.getSize(), 0);
    EXPECT_EQ(s.cachedChunks(), 0u);
    EXPECT_EQ(s.queuedChunks(), 0u);
}

TEST(MemoryStreamLarge, HoldsMinutesOfAudioWithoutLimit) {
    unaMemoryStream s;
    const int chunk = 7056;  // 40 ms of 44.1 kHz 16-bit stereo
    const int chunks = 160 * 25;
    std::vector<uint8_t> data(chunk, 0x5a);
    for (int i = 0; i < chunks; ++i) {
        ASSERT_EQ(s.write(data.data(), chunk), chunk);
    }
    EXPECT_EQ(s.getSize(), chunk * chunks);
}

TEST(MemoryStreamThreads, ReaderSeesWriterBytesInOrder) {
    unaMemoryStream s(1000);
    constexpr int total = 200000;
    std::thread writer([&] {
        uint8_t block[333];
        for (int sent = 0; sent < total; sent += int(sizeof(block))) {
            const int n = std::min(int(sizeof(block)), total - sent);
            for (int i = 0; i < n; ++i) {
                block[i] = uint8_t(sent + i);
            }
            while (s.write(block, n) != n) {
            }
        }
    });
    int received = 0;
    uint8_t buf[1000];
    while (received < total) {
        const int n = s.read(buf, sizeof(buf));
        if (n == 0) {
            s.dataEvent().waitFor(100);
        }
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(buf[i], uint8_t(received + i));
        }
        received += n;
    }
    writer.join();
    EXPECT_EQ(s.getSize(), 0);
}

}  // namespace
