#pragma once

#include <cstdint>
#include <limits>

// Converts interleaved PCM frames between rates, channel counts and sample
// widths (8, 16 or 32 bits) by plain arithmetic: frames are repeated or
// skipped in time (no filtering), channels are duplicated or averaged in
// groups, and widths move through the 16-bit scale. Every call starts at
// position 0, so chunks convert independently.
//
// Channel counts that are not whole multiples of each other leave part of a
// destination frame unwritten, so such output frames come out short.
//
// Returns the bytes written; 0 for a missing block, a zero count, width or
// rate, or an unsupported width. Writing stops where another frame would
// pass dstCapacity bytes.
std::uint32_t resampleBuffer(const void* src, void* dst, std::uint32_t srcFrames,
                             std::uint32_t srcChannels, std::uint32_t dstChannels,
                             std::uint32_t srcBits, std::uint32_t dstBits, std::uint32_t srcRate,
                             std::uint32_t dstRate,
                             std::uint32_t dstCapacity = std::numeric_limits<std::uint32_t>::max());
