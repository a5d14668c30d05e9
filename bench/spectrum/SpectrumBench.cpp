// The spectrum of a full 700 kHz array (240000 points): window, transform, magnitudes and the
// peak, over the whole stretch and in Welch segments of 4096; the vibration figures of the same
// array; and its spectrogram.
#include "spectrum/Measurements.h"
#include "spectrum/Spectrogram.h"
#include "spectrum/Spectrum.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

using namespace korvel;

namespace {

constexpr double Rate = 1e6 / 1.428;

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
    const SpectrumOptions o = Welch(WindowFunction::Hann, static_cast<int>(state.range(0)));
    ComputeSpectrum(y, Rate, o);   // the plan is made once, as a window reuses it
    for (auto _ : state) {
        Spectrum s = ComputeSpectrum(y, Rate, o);
        benchmark::DoNotOptimize(s.peak);
    }
}

// What the window does for a velocity reading: the velocity spectrum in PSD, the RMS over
// 10 Hz … 1 kHz, and the velocity signal and its measurements.
void BM_VelocityPsdBandAndSignal(benchmark::State& state)
{
    const std::vector<double> y = testSignal(240000);
    SpectrumOptions o;
    o.integration = {Quantity::Velocity, 10.0, 1e3};
    ComputeSpectrum(y, Rate, o);
    IntegrateSignal(y, Rate, o.integration);
    for (auto _ : state) {
        const Spectrum s = ComputeSpectrum(y, Rate, o);
        const QVector<double> psd = ScaledValues(s, SpectrumScale::Psd);
        const BandRms band = ComputeBandRms(s, 10, 1000);
        const Measurements m = Measure(IntegrateSignal(y, Rate, o.integration));
        benchmark::DoNotOptimize(psd.data());
        benchmark::DoNotOptimize(band.rms);
        benchmark::DoNotOptimize(m.rms);
    }
}

void BM_Spectrogram(benchmark::State& state)
{
    const std::vector<double> y = testSignal(240000);
    const SpectrogramOptions o = Frames(WindowFunction::Hann, 1024, 50, SpectrumScale::Amplitude,
                                        state.range(0) != 0);
    ComputeSpectrogram(y, Rate, o);
    for (auto _ : state) {
        Spectrogram g = ComputeSpectrogram(y, Rate, o);
        benchmark::DoNotOptimize(g.values.data());
    }
}

}  // namespace

// 0: one transform over all 240000 points.
BENCHMARK(BM_Spectrum)->ArgName("segment")->Arg(0)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VelocityPsdBandAndSignal)->Unit(benchmark::kMillisecond);
// 1024-point segments at 50 %: 467 frames × 513 bins, linear and in dB.
BENCHMARK(BM_Spectrogram)->ArgName("db")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
