#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>

#include "framework/stream/abstract_stream.h"

// A stream whose bytes live in a disk file: writes land at the file pointer,
// reads take from it, and positions are file offsets. Offsets are 64-bit
// inside; the stream interface reports their low 32 bits, so a file of 2 to
// 4 GiB still gets the right unsigned size into a 32-bit header field.
//
// openFile, clear, write and read take the stream's gate (1000 ms) and fail
// quietly when it cannot be had. seek, seekBy, getPosition, getSize and
// closeFile do not wait for the gate; the descriptor itself is guarded, so a
// close from another thread never lets an operation reach a reused descriptor.
class unaFileStream : public unaAbstractStream {
  public:
    // Access rights and share modes in the form callers pass them. Sharing has
    // no counterpart in POSIX files and is kept only for what fileShare()
    // reports; of the attributes only read-only matters (a new file gets no
    // write permission).
    static constexpr std::uint32_t kAccessRead = 0x80000000;
    static constexpr std::uint32_t kAccessWrite = 0x40000000;
    static constexpr std::uint32_t kShareRead = 1;
    static constexpr std::uint32_t kShareWrite = 2;
    static constexpr std::uint32_t kAttributeReadOnly = 0x1;
    static constexpr std::uint32_t kAttributeNormal = 0x80;
    static constexpr int kLockTimeoutMs = 1000;

    // Opens the file at once when the name is not empty.
    explicit unaFileStream(const std::filesystem::path& fileName = {},
                           std::uint32_t access = kAccessRead | kAccessWrite,
                           std::uint32_t share = kShareRead | kShareWrite, bool looping = false,
                           std::uint32_t attributes = kAttributeNormal);
    ~unaFileStream() override;

    // Opens an existing file with its contents intact, or creates a new empty
    // one; the file pointer goes to 0. False when the file cannot be opened or
    // the gate not taken (then nothing changes).
    bool openFile(const std::filesystem::path& fileName,
                  std::uint32_t access = kAccessRead | kAccessWrite,
                  std::uint32_t share = kShareRead | kShareWrite, bool looping = false,
                  std::uint32_t attributes = kAttributeNormal);
    // Closes the file; later writes and reads return 0. isOpen() keeps its value.
    void closeFile();

    // The last openFile succeeded.
    bool isOpen() const { return open_; }
    const std::filesystem::path& fileName() const { return fileName_; }
    std::uint32_t fileAccess() const { return access_; }
    std::uint32_t fileShare() const { return share_; }
    bool looping() const { return looping_; }

    // Moves the file pointer position bytes from the beginning, or from the
    // end when fromBeginning is false; a target before the start becomes 0.
    // A target past the end is allowed (a write there extends the file).
    int seek(int position, bool fromBeginning = true) override;
    // Moves by delta, stopping at 0.
    int seekBy(int delta) override;
    int getPosition() override;
    // Cuts the file to 0 bytes.
    void clear() override;
    // Writes at the file pointer: size, or 0 when nothing or only a part was
    // written. Signals dataEvent whenever size is not 0.
    int write(const void* data, int size) override;
    // Reads from the file pointer. With looping, a read that reaches the end
    // goes on from the start. remove false (a peek) leaves the pointer.
    int read(void* buffer, int size, bool remove = true) override;
    // The file's size now (and kept as the stream's size).
    int getSize() override;
    // Looping: the kept size. Otherwise the bytes after the file pointer.
    int getAvailableSize() override;

  private:
    // These expect descriptorMutex_ held.
    std::int64_t pointerLocked() const;
    std::int64_t moveLocked(std::int64_t offset);
    std::int64_t sizeLocked();
    std::int64_t readLocked(char* buffer, std::int64_t size);
    void closeLocked();

    std::mutex descriptorMutex_;
    int descriptor_ = -1;
    std::filesystem::path fileName_;
    std::uint32_t access_;
    std::uint32_t share_;
    std::atomic<bool> looping_;
    std::uint32_t attributes_;
    std::atomic<bool> open_{false};
};
