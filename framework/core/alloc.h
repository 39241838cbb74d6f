#pragma once

#include <cstddef>

// The framework's one allocation routine for buffers: sizes are rounded up to
// multiples of 512 bytes and a block is only reallocated when its rounded size
// changes, so buffers that grow by a few bytes at a time are not copied each time.
constexpr std::size_t kAllocGranularity = 512;

constexpr std::size_t roundedAllocSize(std::size_t size) {
    return (size + kAllocGranularity - 1) / kAllocGranularity * kAllocGranularity;
}

// Resizes block (currently holding oldSize bytes as requested before) to hold
// newSize bytes. A newSize of 0 frees the block and returns nullptr. Returns
// nullptr on allocation failure, leaving the old block untouched.
void* reallocRounded(void* block, std::size_t oldSize, std::size_t newSize);

// Frees a block obtained from reallocRounded.
void freeRounded(void* block);
