#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "audio/format/wave_format.h"
#include "audio/riff/riff_stream.h"
#include "wav_check.h"

// The audio the tests feed: byte k of a recording is streamByte(k), so any
// stretch of a file can be checked against where it came from.
std::uint8_t streamByte(std::uint64_t offset);
Bytes streamBytes(std::uint64_t first, std::uint64_t count);

WAVEFORMATEX pcmFormat(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels);

// Feeds `count` bytes of the stream from `first` in pieces of `piece` bytes
// through acceptChunk, as a producer's worker would. False when a piece is refused.
bool feed(unaRiffStream& writer, std::uint64_t first, std::uint64_t count, std::uint32_t piece);

// Polls until the condition holds; false after the timeout.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs body in a forked child process that ends with body's result as its
// exit code.
pid_t forkChild(const std::function<int()>& body);
// The child's wait status, or -1 when it did not end in time (it is killed then).
int waitChild(pid_t child, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// A fresh directory per test, removed afterwards.
class RiffTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path file(const char* name) const { return dir_ / name; }

    std::filesystem::path dir_;
};
