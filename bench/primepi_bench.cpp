// Speed of the count, and of each trial-division kernel on the same numbers.
// Run by hand (see the README); it is not a test.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "primepi.hpp"
#include "tables.hpp"
#include "trial_division.hpp"

namespace {

void primepi_of(benchmark::State& state)
{
    const auto n = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(primepi(n));
    }
}
// 1000: a short walk; 1000000000: a middling one; 4292870130: the midpoint of
// the last two checkpoints, the longest walk over the largest numbers.
BENCHMARK(primepi_of)->Arg(1000)->Arg(1000000000)->Arg(4292870130)->Unit(benchmark::kMicrosecond);

// The candidates of the slowest count: the numbers coprime to 30 from the
// second-to-last checkpoint up to the midpoint of the last two.
const std::vector<std::uint32_t>& slowest_walk()
{
    static const std::vector<std::uint32_t> candidates = [] {
        std::vector<std::uint32_t> numbers;
        const std::uint32_t lo = checkpoint_table[checkpoint_count - 2].point;
        const std::uint32_t mid = lo + (checkpoint_table[checkpoint_count - 1].point - lo) / 2;
        for (std::uint32_t c = lo + 1; c <= mid; ++c) {
            if (c % 2 != 0 && c % 3 != 0 && c % 5 != 0) {
                numbers.push_back(c);
            }
        }
        return numbers;
    }();
    return candidates;
}

void slowest_walk_by(benchmark::State& state, division_kernel kernel)
{
    if (!kernel_available(kernel)) {
        state.SkipWithError("not built, or this processor lacks the instructions");
        return;
    }
    const std::vector<std::uint32_t>& candidates = slowest_walk();
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::count_if(candidates.begin(), candidates.end(),
                                               [kernel](std::uint32_t c) { return is_wheel_prime_with(kernel, c); }));
    }
    state.counters["candidates"] = static_cast<double>(candidates.size());
}
BENCHMARK_CAPTURE(slowest_walk_by, scalar, division_kernel::scalar)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(slowest_walk_by, sse2, division_kernel::sse2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(slowest_walk_by, avx2, division_kernel::avx2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(slowest_walk_by, avx512, division_kernel::avx512)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
