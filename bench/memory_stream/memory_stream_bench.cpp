// Throughput of a memory stream carrying 7056-byte chunks (40 ms of 44.1 kHz
// 16-bit stereo), one write then one read, and how many heap allocations each
// chunk costs once the chunk cache is warm (the goal is none).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <vector>

#include "framework/stream/memory_stream.h"

namespace {
std::atomic<long> g_allocations{0};
}

// Counts every heap allocation of the process (operator new ends in malloc too).
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void* malloc(std::size_t size) {
    ++g_allocations;
    return __libc_malloc(size);
}
extern "C" void* realloc(void* p, std::size_t size) {
    ++g_allocations;
    return __libc_realloc(p, size);
}

static void BM_WriteOneReadOne(benchmark::State& state) {
    constexpr int kChunk = 7056;
    const int depth = int(state.range(0));  // chunks kept queued, as a delay does
    unaMemoryStream stream;
    std::vector<uint8_t> in(kChunk, 0x11), out(kChunk);
    for (int i = 0; i < depth; ++i) {
        stream.write(in.data(), kChunk);
    }
    // Warm the cache.
    for (int i = 0; i < 100; ++i) {
        stream.write(in.data(), kChunk);
        stream.read(out.data(), kChunk);
    }
    const long before = g_allocations.load();
    for (auto _ : state) {
        stream.write(in.data(), kChunk);
        benchmark::DoNotOptimize(stream.read(out.data(), kChunk));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kChunk);
    state.counters["allocs_per_chunk"] =
        double(g_allocations.load() - before) / double(state.iterations());
}
BENCHMARK(BM_WriteOneReadOne)->Arg(0)->Arg(250)->Arg(15000);

BENCHMARK_MAIN();
