// The spectrum of a full 700 kHz array (240000 points): window, transform, magnitudes and the
// peak, over the whole stretch and in Welch segments of 4096.
#include "spectrum/Spectrum.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

using namespace korvel;

namespace {

std::vector<double> testSignal(int n)
{
    std::vector<double> y(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        y[size_t(i)] = 2048 + 1300 * std::sin(i * 0.00897) + (i * 7919) % 31;
    return y;
}

void BM_Spectrum(benchmark::State& state)
{
    const std::vector<double> y = testSignal(240000);
    const SpectrumOptions o{WindowFunction::Hann, static_cast<int>(state.range(0))};
    ComputeSpectrum(y, 1e6 / 1.428, o);   // the plan is made once, as a window reuses it
    for (auto _ : state) {
        Spectrum s = ComputeSpectrum(y, 1e6 / 1.428, o);
        benchmark::DoNotOptimize(s.peak);
    }
}

}  // namespace

// 0: one transform over all 240000 points.
BENCHMARK(BM_Spectrum)->ArgName("segment")->Arg(0)->Arg(4096)->Unit(benchmark::kMillisecond);
