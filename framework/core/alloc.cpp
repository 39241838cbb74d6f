#include "framework/core/alloc.h"

#include <cstdlib>

void* reallocRounded(void* block, std::size_t oldSize, std::size_t newSize) {
    if (newSize == 0) {
        std::free(block);
        return nullptr;
    }
    const std::size_t rounded = roundedAllocSize(newSize);
    if (block != nullptr && rounded == roundedAllocSize(oldSize)) {
        return block;
    }
    return std::realloc(block, rounded);
}

void freeRounded(void* block) {
    std::free(block);
}
