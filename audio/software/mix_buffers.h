#pragma once

// Adds (or subtracts) two blocks of interleaved PCM sample by sample into
// `out`, saturating at every step. `out` may be `b` when all three widths are
// equal (each sample is read before it is overwritten).
void mixBuffers(const void* a, const void* b, void* out, unsigned samplesPerChannel, unsigned bitsA,
                unsigned bitsB, unsigned bitsOut, bool add, unsigned channels);
