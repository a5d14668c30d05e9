// FindDivisors over the whole duration range; one iteration is one call.
#include "timing/Divisors.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FindDivisors(benchmark::State& state)
{
    constexpr int first = 439;
    constexpr int span = 3212842 - 439 + 1;
    int offset = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::FindDivisors(first + offset));
        offset = (offset + 7919) % span;  // a stride that visits the range evenly
    }
}
BENCHMARK(BM_FindDivisors);

void BM_ShowTrueValues(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(korvel::ShowTrueValues({224, 91}, 8));
}
BENCHMARK(BM_ShowTrueValues);

}  // namespace
