// Mixer throughput: one 40 ms chunk of 44.1 kHz 16-bit stereo per stream and
// wake-up, summed and delivered.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "audio/software/mixer_device.h"

namespace {

// Runs the mixer's worker step on the benchmark's thread.
class BenchMixer : public unaWaveMixerDevice {
  public:
    BenchMixer() : unaWaveMixerDevice(false, true, 0) {
        dataWait = 0;
        setStream(false, nullptr, false);  // chunks go to the handler only
    }
    bool mixOnce() { return serviceHeader(nullptr, true); }
};

void BM_Mix(benchmark::State& state) {
    const auto streams = unsigned(state.range(0));
    BenchMixer mixer;
    mixer.setPcmSampling(44100, 16, 2);
    const unsigned chunk = mixer.chunkSize();
    std::vector<std::uint8_t> data(chunk);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = std::uint8_t(i * 13);
    }
    std::vector<unaAbstractStream*> inputs;
    for (unsigned s = 0; s < streams; ++s) {
        inputs.push_back(mixer.addStream());
    }
    int64_t bytesOut = 0;
    mixer.setOnChunkReady([&](unaMsAcmStreamDevice&, const void*, int size) { bytesOut += size; });
    for (auto _ : state) {
        for (unaAbstractStream* input : inputs) {
            input->write(data.data(), int(chunk));
        }
        benchmark::DoNotOptimize(mixer.mixOnce());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * chunk * streams);
    state.counters["chunks_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    if (bytesOut != int64_t(state.iterations()) * chunk) {
        state.SkipWithError("a chunk was not delivered");
    }
}

BENCHMARK(BM_Mix)->Arg(1)->Arg(4);

}  // namespace

BENCHMARK_MAIN();
