#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/software/software_device.h"
#include "framework/filestream/file_stream.h"

// A node that writes the PCM audio it receives into a WAV file: a 44-byte
// header (for PCM) and the bytes in arrival order, unchanged. It runs free,
// working whenever input arrives; its input stream is unbounded.
//
// The file is created at construction when missing, but it is cut and
// rewritten only at open(). open() returns 11 when the name is blank or the
// file cannot be opened; the node then stays closed and refuses chunks.
//
// While recording, the header is rewritten after every second of audio, so a
// killed program leaves a playable file short of at most the last second.
// close() first writes everything that reached the node, then the final
// sizes. A write that fails (disk full) is counted, the file pointer goes back
// to the end of the good audio and later pieces are tried again. Audio beyond
// the data limit (by default the most a RIFF header can describe, just under
// 4 GiB) is dropped and counted.
//
// Thread rules: open(), close() and setDataLimit() come from the application;
// producers call acceptChunk() on their workers; only this node's worker and
// close() touch the file, one at a time.
class unaRiffStream : public unaWaveSoftwareDevice {
  public:
    static constexpr unsigned kDataWaitMs = 10;

    // Only PCM with tag 1 is written; the tag and codec root are kept as given.
    unaRiffStream(const std::filesystem::path& fileName, const WAVEFORMATEX& format,
                  std::uint16_t formatTag = WAVE_FORMAT_PCM, std::string codecRoot = {});
    ~unaRiffStream() override;

    const std::filesystem::path& fileName() const { return fileName_; }
    std::uint16_t formatTag() const { return formatTag_; }
    const std::string& codecRoot() const { return codecRoot_; }
    // False when the name was blank: no file, open() returns 11.
    bool hasFile() const { return file_ != nullptr; }

    // Audio bytes written since the last open (not samples).
    int64_t getPosition() const override;

    // Audio bytes a file may hold; rounded down to whole frames and kept
    // within what the header can describe. Takes effect for the next piece.
    void setDataLimit(std::uint32_t bytes);
    std::uint32_t dataLimit() const { return dataLimit_.load(); }

    // Since the last open: bytes dropped at the data limit, and bytes whose
    // write failed.
    std::uint64_t droppedAtLimitBytes() const { return droppedAtLimit_.load(); }
    std::uint64_t failedWriteBytes() const { return failedWrite_.load(); }

  protected:
    MMRESULT afterOpen() override;
    void afterClose(MMRESULT result) override;
    // Writes out the whole input, whatever wait says: a stop must not lose
    // what already reached the node.
    bool flush(bool wait) override;
    bool serviceHeader(unaWaveHeader* header, bool signalled) override;

  private:
    // These expect writeMutex_ held.
    bool writeNextPiece();
    void appendPiece(const std::uint8_t* data, std::uint32_t size);
    void writeHeader(std::uint32_t dataBytes);
    void returnToEndOfAudio(std::uint32_t dataBytes);

    std::filesystem::path fileName_;
    FormatPtr format_;
    std::uint16_t formatTag_;
    std::string codecRoot_;
    std::unique_ptr<unaFileStream> file_;

    // Serialises the worker's writes with the drain at close.
    std::mutex writeMutex_;
    std::vector<std::uint8_t> workBuffer_;
    std::uint32_t headerSize_ = 0;
    std::uint32_t headerEvery_ = 0;
    std::uint32_t sinceHeader_ = 0;

    std::atomic<std::uint32_t> bytesWritten_{0};
    std::atomic<std::uint32_t> dataLimit_;
    std::atomic<std::uint64_t> droppedAtLimit_{0};
    std::atomic<std::uint64_t> failedWrite_{0};
};
