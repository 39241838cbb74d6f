#include "framework/stream/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "framework/core/alloc.h"

unaStreamChunk::~unaStreamChunk() {
    freeRounded(data_);
}

void unaStreamChunk::setData(const void* data, int size) {
    if (capacity_ < size) {
        auto* grown = static_cast<uint8_t*>(reallocRounded(data_, capacity_, size));
        if (grown == nullptr) {
            size_ = 0;
            readOffset_ = 0;
            return;
        }
        data_ = grown;
        capacity_ = size;
    }
    if (data != nullptr && size > 0) {
        std::memcpy(data_, data, size);
        size_ = size;
    } else {
        size_ = 0;
    }
    readOffset_ = 0;
}

unaMemoryStream::unaMemoryStream(int lockTimeoutMs) : unaAbstractStream(lockTimeoutMs) {
    // The stream's gate guards both lists.
    chunks_.setSingleThreaded(true);
    cache_.setSingleThreaded(true);
}

unaMemoryStream::~unaMemoryStream() {
    lock(-1);
    clear();
    unlock();
}

unaStreamChunk* unaMemoryStream::takeCachedChunk(int size) {
    const unsigned n = cache_.count();
    if (n == 0) {
        return nullptr;
    }
    unsigned pick = n - 1;
    for (unsigned i = 0; i < n; ++i) {
        if (static_cast<unaStreamChunk*>(cache_.get(i))->capacity() >= size) {
            pick = i;
            break;
        }
    }
    auto* chunk = static_cast<unaStreamChunk*>(cache_.get(pick));
    cache_.removeAt(pick, unaListReleaseMode::keepItem);
    return chunk;
}

int unaMemoryStream::write(const void* data, int size) {
    int stored = 0;
    if (data != nullptr && size > 0 && lock()) {
        std::unique_ptr<unaStreamChunk> chunk(takeCachedChunk(size));
        if (chunk) {
            chunk->setData(data, size);
        } else {
            chunk = std::make_unique<unaStreamChunk>(data, size);
        }
        if (chunk->size() == size && chunks_.add(chunk.get()) >= 0) {
            chunk.release();  // the chunk list holds it now
            size_ += size;
            stored = size;
        }
        unlock();
    }
    unaAbstractStream::write(data, size);
    return stored;
}

void unaMemoryStream::recycle(std::unique_ptr<unaStreamChunk> chunk) {
    if (cache_.count() < maxCachedChunks) {
        if (cache_.add(chunk.get()) >= 0) {
            chunk.release();
        }
        return;
    }
    // Cache full: keep the larger chunks; whatever is left over goes.
    for (unsigned i = 0; i < cache_.count(); ++i) {
        std::unique_ptr<unaStreamChunk> cached(static_cast<unaStreamChunk*>(cache_.get(i)));
        if (cached->capacity() < chunk->capacity()) {
            cache_.setItem(i, chunk.release(), unaListReleaseMode::keepItem);
            return;
        }
        cached.release();  // stays in the cache
    }
}

int unaMemoryStream::read(void* buffer, int size, bool remove) {
    if (size <= 0 || !lock()) {
        return 0;
    }
    int want = std::min(size, getSize());
    if (buffer == nullptr || want <= 0) {
        unlock();
        return 0;
    }
    auto* out = static_cast<uint8_t*>(buffer);
    int copied = 0;
    unsigned index = 0;
    while (want > 0 && index < chunks_.count()) {
        auto* chunk = static_cast<unaStreamChunk*>(chunks_.get(index));
        const int n = std::min(want, chunk->unread());
        std::memcpy(out + copied, chunk->readPointer(), n);
        copied += n;
        want -= n;
        if (!remove) {
            ++index;
            continue;
        }
        chunk->consume(n);
        if (chunk->unread() > 0) {
            ++index;
            continue;
        }
        chunks_.removeAt(index, unaListReleaseMode::keepItem);
        recycle(std::unique_ptr<unaStreamChunk>(chunk));
    }
    if (remove) {
        size_ -= copied;
    }
    unlock();
    return copied;
}

int unaMemoryStream::firstChunkSize() {
    if (!lock()) {
        return 0;
    }
    const int unread =
        chunks_.count() > 0 ? static_cast<unaStreamChunk*>(chunks_.get(0))->unread() : 0;
    unlock();
    return unread;
}

void unaMemoryStream::clear() {
    if (!lock()) {
        return;
    }
    chunks_.clear(unaListReleaseMode::freeItem);
    cache_.clear(unaListReleaseMode::freeItem);
    size_ = 0;
    unlock();
}

int unaMemoryStream::cachedCapacity(unsigned index) const {
    const auto* chunk = static_cast<const unaStreamChunk*>(cache_.get(index));
    return chunk != nullptr ? chunk->capacity() : 0;
}
