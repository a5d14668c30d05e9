#include "spectrum/SegmentPower.h"

#include "spectrum/Fft.h"
#include "spectrum/Measurements.h"

#include <algorithm>
#include <numeric>

namespace korvel {

int SegmentStep(int length, int overlapPercent)
{
    return std::max(1, length - length * std::clamp(overlapPercent, 0, 75) / 100);
}

SegmentPower::SegmentPower(WindowFunction f, int length)
    : length_(length), function_(f), window_(CachedWindow(f, length)), fft_(&RealFft::forLength(length))
{
    sum_ = std::accumulate(window_.begin(), window_.end(), 0.0);
    for (double v : window_)
        squares_ += v * v;
}

double SegmentPower::noiseBandwidthHz(double sampleRateHz) const
{
    return sampleRateHz * squares_ / (sum_ * sum_);
}

void SegmentPower::transform(std::span<const double> part, std::span<double> power)
{
    // The mean is taken out first, so the window does not spread it over the low bins.
    const double m = MeanOf(part);
    const std::span<double> in = fft_->input();
    for (int i = 0; i < length_; ++i)
        in[i] = (part[i] - m) * window_[i];
    fft_->execute();
    const std::span<const std::complex<double>> out = fft_->output();
    power[0] = m * sum_ * m * sum_;
    for (int k = 1; k < bins(); ++k)
        power[k] = std::norm(out[k]);
}

double SegmentPower::factor(int k, SpectrumScale scale, double sampleRateHz,
                           const Integration& integration) const
{
    // A tone shows on both halves of the two-sided transform, the mean and the Nyquist bin of
    // an even length on one: its amplitude is sides · |X| / Σw, its RMS that over √2 unless it
    // sits on one side, its density the RMS squared over the noise bandwidth.
    const double sides = edge(k) ? 1.0 : 2.0;
    double v = sides;
    switch (scale) {
    case SpectrumScale::Amplitude: v = sides * sides; break;
    case SpectrumScale::Rms: break;
    case SpectrumScale::Psd:
    case SpectrumScale::Asd: v = sides / noiseBandwidthHz(sampleRateHz); break;
    }
    // The first bins hold the window's spread of whatever lies below the resolution (the
    // mean of a stretch that is no whole number of periods): divided by their small ω they
    // would swamp everything, so an integration keeps none of them.
    if (integration.quantity != Quantity::Acceleration && k < MainLobeBins(function_) / 2)
        return 0.0;
    const double w = IntegrationWeight(integration, k * sampleRateHz / length_);
    return v * w * w / (sum_ * sum_);
}

std::vector<double> SegmentPower::factors(SpectrumScale scale, double sampleRateHz,
                                          const Integration& integration) const
{
    std::vector<double> f(static_cast<size_t>(bins()));
    for (int k = 0; k < bins(); ++k)
        f[size_t(k)] = factor(k, scale, sampleRateHz, integration);
    return f;
}

}  // namespace korvel
