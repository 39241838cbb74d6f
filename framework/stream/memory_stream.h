#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/list.h"
#include "framework/stream/abstract_stream.h"

// One queued block of a memory stream.
class unaStreamChunk : public unaObject {
  public:
    unaStreamChunk(const void* data, int size) { setData(data, size); }
    ~unaStreamChunk() override;

    // Grows the block when it is too small (a larger block stays); copies the
    // bytes when data is given (size 0 otherwise) and rewinds the read offset.
    void setData(const void* data, int size);

    int capacity() const { return capacity_; }
    int size() const { return size_; }
    int unread() const { return size_ - readOffset_; }
    const uint8_t* readPointer() const { return data_ + readOffset_; }
    void consume(int n) { readOffset_ += n; }

  private:
    uint8_t* data_ = nullptr;
    int capacity_ = 0;
    int size_ = 0;
    int readOffset_ = 0;
};

// An unbounded in-memory chunk stream: any amount of data, chunk boundaries
// invisible to the reader. Emptied chunks are kept in a small cache and reused,
// so a steady flow of equal chunks runs without allocating.
//
// One writing thread and one reading thread at a time. The constructor's
// number is the gate timeout in ms, not a capacity.
class unaMemoryStream : public unaAbstractStream {
  public:
    explicit unaMemoryStream(int lockTimeoutMs = 100);
    ~unaMemoryStream() override;

    int seek(int, bool = true) override { return 0; }
    int seekBy(int) override { return 0; }
    int getPosition() override { return 0; }
    void clear() override;
    int write(const void* data, int size) override;
    int read(void* buffer, int size, bool remove = true) override;

    // Unread bytes of the oldest chunk; 0 when empty or the gate cannot be taken.
    int firstChunkSize();

    unsigned maxCachedChunks = 10;
    unsigned cachedChunks() const { return cache_.count(); }
    unsigned queuedChunks() const { return chunks_.count(); }
    // Capacity of the cached chunk at index (tests of the reuse policy).
    int cachedCapacity(unsigned index) const;

  private:
    unaStreamChunk* takeCachedChunk(int size);
    void recycle(std::unique_ptr<unaStreamChunk> chunk);

    unaObjectList chunks_{false};
    unaObjectList cache_{false};
};
