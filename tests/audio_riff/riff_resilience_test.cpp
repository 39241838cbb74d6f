#include <signal.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <thread>

#include "audio/riff/riff_header.h"
#include "riff_test_support.h"

namespace {

constexpr std::uint32_t kChunk = 7056;          // 40 ms of 44.1 kHz 16-bit stereo
constexpr std::uint32_t kSecond = 25 * kChunk;  // 176400 bytes
constexpr std::uint64_t kHeaderBytes = 44;

// While recording, the header on disk follows the audio every second, so the
// file is playable before it is closed.
TEST_F(RiffTest, HeaderOnDiskFollowsTheRecordingEverySecond) {
    const auto path = file("live.wav");
    unaRiffStream writer(path, pcmFormat(44100, 16, 2));
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_TRUE(feed(writer, 0, kSecond + kChunk, kChunk));
    ASSERT_TRUE(waitUntil([&] { return writer.getPosition() == kSecond + kChunk; }));

    const RiffFields live = readRiffFields(path);
    EXPECT_EQ(live.riffSize, 36u + kSecond);
    EXPECT_EQ(live.dataSize, kSecond);
    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.frames, 44100);
    EXPECT_EQ(view.data, streamBytes(0, kSecond));

    ASSERT_EQ(writer.close(10000), 0u);
    EXPECT_EQ(readRiffFields(path).dataSize, kSecond + kChunk);
}

// A recording program killed outright leaves a valid file with all but at
// most the last second of what it had written.
TEST_F(RiffTest, KilledWhileRecordingLeavesAPlayableFile) {
    const auto path = file("killed.wav");
    const pid_t child = forkChild([&] {
        unaRiffStream writer(path, pcmFormat(44100, 16, 2));
        if (writer.open(false, 10000, 0) != 0) {
            return 1;
        }
        // A producer at twice the real-time pace, until the parent kills us.
        std::thread producer([&] {
            const auto start = std::chrono::steady_clock::now();
            for (std::uint64_t n = 0;; ++n) {
                std::this_thread::sleep_until(start + n * std::chrono::milliseconds(20));
                feed(writer, n * kChunk, kChunk, kChunk);
            }
        });
        producer.join();
        return 0;
    });
    ASSERT_GT(child, 0);

    const bool threeSeconds = waitUntil(
        [&] {
            struct stat info {};
            return ::stat(path.c_str(), &info) == 0 &&
                   std::uint64_t(info.st_size) >= kHeaderBytes + 3 * kSecond;
        },
        std::chrono::seconds(60));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(threeSeconds) << "the child never wrote three seconds";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(view.sampleRate, 44100);
    EXPECT_EQ(view.channels, 2);
    EXPECT_GE(view.frames, 2 * 44100);
    EXPECT_EQ(view.data, streamBytes(0, view.data.size()));
    EXPECT_GE(std::stoll("0" + soxiField(path, 's')), 2 * 44100);
}

// At the data limit the writer stops appending: the file stays complete up
// to the limit, and the rest is counted as dropped.
TEST_F(RiffTest, StopsAppendingAtTheDataLimitAndCountsTheRest) {
    const auto path = file("limit.wav");
    unaRiffStream writer(path, pcmFormat(44100, 16, 2));
    EXPECT_EQ(writer.dataLimit(), riffDataLimit(pcmFormat(44100, 16, 2)));
    EXPECT_EQ(writer.dataLimit(), 0xFFFFFFFFu - 36u - 3u);  // whole 4-byte frames

    writer.setDataLimit(3 * kChunk + 3530);  // rounds down to whole frames
    EXPECT_EQ(writer.dataLimit(), 3 * kChunk + 3528);
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_TRUE(feed(writer, 0, 5 * kChunk, kChunk));
    ASSERT_EQ(writer.close(10000), 0u);

    const std::uint32_t limit = 3 * kChunk + 3528;
    EXPECT_EQ(writer.getPosition(), limit);
    EXPECT_EQ(writer.droppedAtLimitBytes(), 5u * kChunk - limit);
    const RiffFields fields = readRiffFields(path);
    EXPECT_EQ(fields.fileSize, 44u + limit);
    EXPECT_EQ(fields.riffSize, 36u + limit);
    EXPECT_EQ(fields.dataSize, limit);
    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    EXPECT_EQ(view.data, streamBytes(0, limit));

    writer.setDataLimit(0xFFFFFFFFu);
    EXPECT_EQ(writer.dataLimit(), riffDataLimit(pcmFormat(44100, 16, 2)));
}

// Writes that fail (the file may not grow: the disk is full) are counted and
// leave no gap; once space is back the following pieces land right after the
// last good audio.
TEST_F(RiffTest, FailedWritesAreCountedAndLaterPiecesStillLand) {
    const auto path = file("full.wav");
    enum Failure { kOpen = 10, kFirstPieces, kCounted, kRaise, kLaterPieces, kClose };
    const pid_t child = forkChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit original = limit;
        unaRiffStream writer(path, pcmFormat(44100, 16, 2));
        if (writer.open(false, 10000, 0) != 0) {
            return int(kOpen);
        }
        // Room for three chunks and a part of the fourth.
        limit.rlim_cur = 44 + 3 * kChunk + 1001;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (!feed(writer, 0, 5 * kChunk, kChunk)) {
            return int(kFirstPieces);
        }
        if (!waitUntil([&] { return writer.failedWriteBytes() == 2 * kChunk; })) {
            return int(kCounted);
        }
        if (::setrlimit(RLIMIT_FSIZE, &original) != 0) {
            return int(kRaise);
        }
        if (!feed(writer, 5 * kChunk, 2 * kChunk, kChunk)) {
            return int(kLaterPieces);
        }
        if (writer.close(10000) != 0 || writer.getPosition() != 5 * kChunk ||
            writer.failedWriteBytes() != 2 * kChunk) {
            return int(kClose);
        }
        return 0;
    });
    ASSERT_GT(child, 0);
    const int status = waitChild(child);
    ASSERT_TRUE(WIFEXITED(status)) << "child status " << status;
    ASSERT_EQ(WEXITSTATUS(status), 0);

    const RiffFields fields = readRiffFields(path);
    EXPECT_EQ(fields.dataSize, 5u * kChunk);
    EXPECT_EQ(fields.riffSize, 36u + 5 * kChunk);
    const SndfileView view = readWithSndfile(path);
    ASSERT_TRUE(view.opened) << view.error;
    Bytes expected = streamBytes(0, 3 * kChunk);
    const Bytes later = streamBytes(5 * kChunk, 2 * kChunk);
    expected.insert(expected.end(), later.begin(), later.end());
    EXPECT_EQ(view.data, expected);
}

// A device that refuses every write: everything is counted, nothing breaks.
TEST_F(RiffTest, ADiskFullFromTheStartOnlyCountsFailures) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    unaRiffStream writer("/dev/full", pcmFormat(22050, 8, 1));
    ASSERT_EQ(writer.open(false, 10000, 0), 0u);
    ASSERT_TRUE(feed(writer, 0, 10 * 882, 882));
    ASSERT_EQ(writer.close(10000), 0u);
    EXPECT_EQ(writer.getPosition(), 0);
    EXPECT_EQ(writer.failedWriteBytes(), 10u * 882);
}

}  // namespace
