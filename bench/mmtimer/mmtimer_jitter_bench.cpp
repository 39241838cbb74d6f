// Tick lateness of a 40 ms periodic timer event: each tick is compared with its
// ideal deadline (set time + k x 40 ms). Runs 60 s per case by default;
// QV_MMTIMER_SECONDS sets another length.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/clock/platform_clock.h"
#include "platform/mmtimer/mm_timer.h"

namespace {

using platform::PlatformClock;
using namespace std::chrono_literals;

constexpr auto kPeriod = 40ms;

std::chrono::seconds measureLength() {
    const char* text = std::getenv("QV_MMTIMER_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 60;
    return std::chrono::seconds(std::max(1, seconds));
}

// Keeps `count` threads spinning until destroyed.
class BusyCores {
  public:
    explicit BusyCores(int count) {
        for (int i = 0; i < count; ++i) {
            threads_.emplace_back([this] {
                std::uint64_t spins = 0;
                while (!stop_.load(std::memory_order_relaxed)) {
                    benchmark::DoNotOptimize(++spins);
                }
            });
        }
    }
    ~BusyCores() {
        stop_ = true;
        for (auto& t : threads_) {
            t.join();
        }
    }

  private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

void BM_TickLateness(benchmark::State& state) {
    const auto ticks = static_cast<std::size_t>(measureLength() / kPeriod);
    for (auto _ : state) {
        BusyCores busy(static_cast<int>(state.range(0)));
        std::mutex mutex;
        std::condition_variable done;
        std::vector<PlatformClock::time_point> times;
        times.reserve(ticks);
        const auto set = PlatformClock::now();
        const auto id = platform::timeSetEvent(
            static_cast<std::uint32_t>(kPeriod.count()), 1,
            [&](std::uint32_t) {
                std::lock_guard lock(mutex);
                if (times.size() < ticks) {
                    times.push_back(PlatformClock::now());
                    done.notify_all();
                }
            },
            platform::TIME_PERIODIC);
        {
            std::unique_lock lock(mutex);
            done.wait(lock, [&] { return times.size() >= ticks; });
        }
        platform::timeKillEvent(id);

        std::vector<double> lateMs;
        for (std::size_t k = 0; k < times.size(); ++k) {
            const auto ideal = set + (k + 1) * kPeriod;
            lateMs.push_back(std::chrono::duration<double, std::milli>(times[k] - ideal).count());
        }
        state.SetIterationTime(std::chrono::duration<double>(times.back() - set).count());
        state.counters["p50_late_ms"] = percentile(lateMs, 0.50);
        state.counters["p99_late_ms"] = percentile(lateMs, 0.99);
        state.counters["max_late_ms"] = *std::max_element(lateMs.begin(), lateMs.end());
        state.counters["mean_period_ms"] =
            std::chrono::duration<double, std::milli>(times.back() - times.front()).count() /
            static_cast<double>(times.size() - 1);
        state.counters["ticks"] = static_cast<double>(times.size());
    }
}

BENCHMARK(BM_TickLateness)
    ->ArgName("busy_threads")
    ->Arg(0)
    ->Arg(2)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
