#include "riff_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

std::uint8_t streamByte(std::uint64_t offset) {
    return static_cast<std::uint8_t>((offset * 2654435761u) >> 13);
}

Bytes streamBytes(std::uint64_t first, std::uint64_t count) {
    Bytes bytes(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        bytes[i] = streamByte(first + i);
    }
    return bytes;
}

WAVEFORMATEX pcmFormat(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels) {
    WAVEFORMATEX format{};
    return buildPcmFormat(format, rate, bits, channels);
}

bool feed(unaRiffStream& writer, std::uint64_t first, std::uint64_t count, std::uint32_t piece) {
    for (std::uint64_t done = 0; done < count; done += piece) {
        const std::uint64_t size = std::min<std::uint64_t>(piece, count - done);
        const Bytes bytes = streamBytes(first + done, size);
        if (writer.acceptChunk(bytes.data(), int(size)) != int(size)) {
            return false;
        }
    }
    return true;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

pid_t forkChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    return child;
}

int waitChild(pid_t child, std::chrono::milliseconds timeout) {
    int status = 0;
    const bool ended =
        waitUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; }, timeout);
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return -1;
    }
    return status;
}

void RiffTest::SetUp() {
    std::string pattern = ::testing::TempDir() + "riff-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
}

void RiffTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}
