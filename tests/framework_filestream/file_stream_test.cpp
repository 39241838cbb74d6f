#include "framework/filestream/file_stream.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <numeric>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::filesystem::path makeTempFolder() {
    std::string pattern = ::testing::TempDir() + "filestream-XXXXXX";
    return ::mkdtemp(pattern.data());
}

// A fresh folder per test and a 100-byte file of the bytes 0..99 in it.
class FileStreamTest : public ::testing::Test {
  protected:
    ~FileStreamTest() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path hundredBytes() {
        const auto file = folder_ / "hundred.bin";
        std::vector<char> bytes(100);
        std::iota(bytes.begin(), bytes.end(), 0);
        std::ofstream(file, std::ios::binary).write(bytes.data(), 100);
        return file;
    }
    static std::string contents(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path folder_ = makeTempFolder();
};

std::vector<int> asInts(const char* bytes, int count) {
    return std::vector<int>(bytes, bytes + count);
}

TEST_F(FileStreamTest, NewNameIsCreatedEmptyAtOnce) {
    const auto file = folder_ / "new.wav";
    unaFileStream stream(file);
    EXPECT_TRUE(stream.isOpen());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(stream.getSize(), 0);
}

TEST_F(FileStreamTest, ExistingFileKeepsItsContents) {
    unaFileStream stream(hundredBytes());
    EXPECT_TRUE(stream.isOpen());
    EXPECT_EQ(stream.getSize(), 100);
    EXPECT_EQ(stream.getPosition(), 0);
    char head[3];
    ASSERT_EQ(stream.read(head, 3), 3);
    EXPECT_EQ(asInts(head, 3), (std::vector<int>{0, 1, 2}));
}

TEST_F(FileStreamTest, ReadOnlyAccessOpensButDoesNotWrite) {
    unaFileStream stream(hundredBytes(), unaFileStream::kAccessRead);
    ASSERT_TRUE(stream.isOpen());
    EXPECT_EQ(stream.write("x", 1), 0);
    EXPECT_EQ(stream.getSize(), 100);
}

TEST_F(FileStreamTest, UnopenableNamesLeaveTheStreamClosed) {
    for (const auto& name : {folder_, folder_ / "missing" / "x.wav"}) {
        unaFileStream stream(name);
        EXPECT_FALSE(stream.isOpen()) << name;
        EXPECT_EQ(stream.write("abc", 3), 0);
        char buffer[3];
        EXPECT_EQ(stream.read(buffer, 3), 0);
    }
}

TEST_F(FileStreamTest, ClearCutsTheFileAndWritesStartOver) {
    const auto file = hundredBytes();
    unaFileStream stream(file);
    stream.seek(50);
    stream.clear();
    EXPECT_EQ(stream.getSize(), 0);
    EXPECT_EQ(stream.getPosition(), 0);
    EXPECT_EQ(stream.write("RIFF", 4), 4);
    EXPECT_EQ(contents(file), "RIFF");
}

TEST_F(FileStreamTest, HeaderFieldIsRewrittenInPlace) {
    const auto file = folder_ / "header.wav";
    unaFileStream stream(file);
    const std::string header(44, '.');
    ASSERT_EQ(stream.write(header.data(), 44), 44);
    EXPECT_EQ(stream.seek(4, true), 4);
    ASSERT_EQ(stream.write("SIZE", 4), 4);
    EXPECT_EQ(stream.getSize(), 44);
    EXPECT_EQ(stream.getPosition(), 8);
    EXPECT_EQ(contents(file), "....SIZE" + std::string(36, '.'));
}

TEST_F(FileStreamTest, WriteAfterCloseStoresNothingButSignals) {
    unaFileStream stream(folder_ / "closed.bin");
    stream.closeFile();
    EXPECT_TRUE(stream.isOpen()) << "the open flag keeps its value";
    EXPECT_EQ(stream.write("abc", 3), 0);
    EXPECT_TRUE(stream.dataEvent().waitFor(0));
    char buffer[3];
    EXPECT_EQ(stream.read(buffer, 3), 0);
}

TEST_F(FileStreamTest, WriteWithoutDataStoresNothing) {
    unaFileStream stream(folder_ / "null.bin");
    EXPECT_EQ(stream.write(nullptr, 5), 0);
    EXPECT_TRUE(stream.dataEvent().waitFor(0));
    EXPECT_EQ(stream.write("abc", 0), 0);
    EXPECT_FALSE(stream.dataEvent().waitFor(0));
    EXPECT_EQ(stream.getSize(), 0);
}

struct SeekCase {
    const char* name;
    int start;
    int position;
    bool fromBeginning;
    bool relative;  // seekBy(position) instead of seek
    int expected;
};

class FileStreamSeek : public FileStreamTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(FileStreamSeek, MovesWithinBounds) {
    const auto& c = GetParam();
    unaFileStream stream(hundredBytes());
    stream.seek(c.start);
    const int result =
        c.relative ? stream.seekBy(c.position) : stream.seek(c.position, c.fromBeginning);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(stream.getPosition(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileStreamSeek,
                         ::testing::Values(SeekCase{"from_start", 0, 30, true, false, 30},
                                           SeekCase{"before_start", 50, -5, true, false, 0},
                                           SeekCase{"from_end", 0, 10, false, false, 90},
                                           SeekCase{"before_start_from_end", 0, 150, false, false,
                                                    0},
                                           SeekCase{"past_end", 0, 150, true, false, 150},
                                           SeekCase{"by_back", 50, -20, false, true, 30},
                                           SeekCase{"by_back_past_start", 50, -80, false, true, 0},
                                           SeekCase{"by_forward", 50, 70, false, true, 120}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileStreamTest, AvailableSizeCountsFromThePointer) {
    unaFileStream stream(hundredBytes());
    stream.seek(30);
    EXPECT_EQ(stream.getAvailableSize(), 70);
    stream.seek(150);
    EXPECT_EQ(stream.getAvailableSize(), 0);

    unaFileStream looping(hundredBytes(), unaFileStream::kAccessRead, unaFileStream::kShareRead,
                          true);
    looping.seek(30);
    EXPECT_EQ(looping.getAvailableSize(), 100);
}

TEST_F(FileStreamTest, LoopingReadWrapsToTheStart) {
    unaFileStream stream(hundredBytes(), unaFileStream::kAccessRead, unaFileStream::kShareRead,
                         true);
    stream.seek(96);
    char buffer[10];
    ASSERT_EQ(stream.read(buffer, 10), 10);
    EXPECT_EQ(asInts(buffer, 10), (std::vector<int>{96, 97, 98, 99, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(stream.getPosition(), 6);
}

TEST_F(FileStreamTest, LoopingReadOfAShortFileWrapsAgain) {
    const auto file = folder_ / "short.bin";
    std::ofstream(file) << "abcd";
    unaFileStream stream(file, unaFileStream::kAccessRead, unaFileStream::kShareRead, true);
    char buffer[10];
    ASSERT_EQ(stream.read(buffer, 10), 10);
    EXPECT_EQ(std::string(buffer, 10), "abcdabcdab");
}

TEST_F(FileStreamTest, LoopingReadOfAnEmptyFileEnds) {
    unaFileStream stream(folder_ / "empty.bin",
                         unaFileStream::kAccessRead | unaFileStream::kAccessWrite,
                         unaFileStream::kShareRead, true);
    char buffer[10];
    EXPECT_EQ(stream.read(buffer, 10), 0);
}

TEST_F(FileStreamTest, ReadStopsAtTheEndWithoutLooping) {
    unaFileStream stream(hundredBytes());
    stream.seek(96);
    char buffer[10];
    EXPECT_EQ(stream.read(buffer, 10), 4);
    EXPECT_EQ(stream.getPosition(), 100);
}

TEST_F(FileStreamTest, PeekLeavesThePointer) {
    for (const bool looping : {false, true}) {
        unaFileStream stream(hundredBytes(), unaFileStream::kAccessRead, unaFileStream::kShareRead,
                             looping);
        stream.seek(96);
        char peeked[10];
        const int got = stream.read(peeked, 10, false);
        EXPECT_EQ(got, looping ? 10 : 4);
        EXPECT_EQ(stream.getPosition(), 96) << "looping " << looping;
        char taken[10];
        ASSERT_EQ(stream.read(taken, 10), got);
        EXPECT_EQ(asInts(peeked, got), asInts(taken, got));
    }
}

TEST_F(FileStreamTest, OffsetsBeyondTwoGibibytesKeepTheirLow32Bits) {
    const auto file = folder_ / "large.bin";
    const std::int64_t large = std::int64_t{3} << 30;
    std::ofstream(file).close();
    if (::truncate(file.c_str(), large) != 0) {
        GTEST_SKIP() << "this file system cannot hold a sparse 3 GiB file";
    }
    unaFileStream stream(file);
    EXPECT_EQ(static_cast<std::uint32_t>(stream.getSize()), 3221225472u);
    stream.seek(0, false);
    ASSERT_EQ(stream.write("tail", 4), 4);
    EXPECT_EQ(static_cast<std::uint32_t>(stream.getSize()), 3221225476u);
    EXPECT_EQ(static_cast<std::uint32_t>(stream.getPosition()), 3221225476u);
    EXPECT_EQ(stream.seekBy(-4), static_cast<int>(3221225472u));
    char tail[4];
    ASSERT_EQ(stream.read(tail, 4), 4);
    EXPECT_EQ(std::string(tail, 4), "tail");
}

TEST_F(FileStreamTest, WriterAndObserverThreads) {
    const auto file = folder_ / "threads.bin";
    unaFileStream stream(file);
    constexpr int kChunks = 200;
    constexpr int kChunkSize = 100;
    std::thread writer([&] {
        const std::string chunk(kChunkSize, 'a');
        for (int i = 0; i < kChunks; ++i) {
            EXPECT_EQ(stream.write(chunk.data(), kChunkSize), kChunkSize);
        }
    });
    // Sizes seen from another thread only grow, by whole chunks.
    int last = 0;
    while (last < kChunks * kChunkSize) {
        ASSERT_TRUE(stream.dataEvent().waitFor(10000));
        const int size = stream.getSize();
        EXPECT_GE(size, last);
        EXPECT_EQ(size % kChunkSize, 0);
        last = size;
    }
    writer.join();
    stream.closeFile();
    EXPECT_EQ(std::filesystem::file_size(file), std::uintmax_t{kChunks * kChunkSize});
}

TEST_F(FileStreamTest, CloseFromAnotherThreadWhileWriting) {
    unaFileStream stream(folder_ / "close.bin");
    std::thread writer([&] {
        for (int i = 0; i < 1000; ++i) {
            stream.write("abcd", 4);
        }
    });
    ASSERT_TRUE(stream.dataEvent().waitFor(10000));
    stream.closeFile();
    writer.join();
    EXPECT_EQ(stream.write("abcd", 4), 0);
    EXPECT_EQ(stream.getSize() % 4, 0);
}

}  // namespace
