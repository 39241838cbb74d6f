// Frames per second converted by the resampler's arithmetic, one 40 ms source
// chunk per call, for the conversions the program meets.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "audio/resampler/resample_buffer.h"

namespace {

void convert(benchmark::State& state, std::uint32_t srcRate, std::uint32_t srcChannels,
             std::uint32_t dstRate, std::uint32_t dstChannels) {
    const std::uint32_t srcFrames = srcRate / 25;
    const std::uint32_t dstFrames = dstRate / 25;
    std::vector<std::int16_t> src(std::size_t(srcFrames) * srcChannels);
    for (std::size_t i = 0; i < src.size(); ++i) {
        src[i] = std::int16_t(i * 31);
    }
    std::vector<std::int16_t> dst(std::size_t(dstFrames) * dstChannels);
    for (auto _ : state) {
        const auto written =
            resampleBuffer(src.data(), dst.data(), srcFrames, srcChannels, dstChannels, 16, 16,
                           srcRate, dstRate, std::uint32_t(dst.size() * 2));
        benchmark::DoNotOptimize(written);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * srcFrames);
    state.counters["realtime_x"] =
        benchmark::Counter(double(state.iterations()) / 25.0, benchmark::Counter::kIsRate);
}

void BM_PassThrough44100Stereo(benchmark::State& state) {
    convert(state, 44100, 2, 44100, 2);
}
void BM_48000To44100Stereo(benchmark::State& state) {
    convert(state, 48000, 2, 44100, 2);
}
void BM_22050MonoTo44100Stereo(benchmark::State& state) {
    convert(state, 22050, 1, 44100, 2);
}

BENCHMARK(BM_PassThrough44100Stereo);
BENCHMARK(BM_48000To44100Stereo);
BENCHMARK(BM_22050MonoTo44100Stereo);

}  // namespace

BENCHMARK_MAIN();
