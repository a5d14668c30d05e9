#include "spectrum/Spectrum.h"

#include "spectrum/Fft.h"
#include "spectrum/Measurements.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace korvel {

namespace {

// Where a tone lies between bin k and its larger neighbour, from the ratio of their
// amplitudes and the window's main lobe: the offset in bins (0 ... 0.5) toward the neighbour.
double offsetTowardNeighbour(WindowFunction f, double ratio)
{
    const auto ratioAt = [f](double d) { return WindowResponse(f, 1.0 - d) / WindowResponse(f, d); };
    if (ratio <= ratioAt(0.0))
        return 0.0;
    if (ratio >= 1.0)
        return 0.5;
    double lo = 0.0;
    double hi = 0.5;
    for (int i = 0; i < 50; ++i) {
        const double mid = (lo + hi) / 2;
        (ratioAt(mid) < ratio ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

std::optional<SpectrumPeak> findPeak(const Spectrum& s, WindowFunction f)
{
    const QVector<double>& a = s.amplitude;
    const int last = static_cast<int>(a.size()) - 1;
    if (last < 1)
        return std::nullopt;
    const int k = static_cast<int>(std::max_element(a.begin() + 1, a.end()) - a.begin());
    // A flat stretch has no tone: every bin above 0 Hz is zero.
    if (!(a[k] > 0.0))
        return std::nullopt;
    // Bin 0 holds the mean, not the lobe of a tone, so it is no neighbour.
    const double left = k > 1 ? a[k - 1] : 0.0;
    const double right = k < last ? a[k + 1] : 0.0;
    const int side = right >= left ? 1 : -1;
    const double position = k + side * offsetTowardNeighbour(f, std::max(left, right) / a[k]);
    return SpectrumPeak{k, position * s.resolutionHz, a[k]};
}

}  // namespace

bool IsSegmentLength(int n)
{
    return n >= MinimumSegment && n <= MaximumSegment && (n & (n - 1)) == 0;
}

Spectrum ComputeSpectrum(std::span<const double> y, double sampleRateHz,
                         const SpectrumOptions& options)
{
    Spectrum s;
    const auto n = static_cast<qsizetype>(y.size());
    if (n < 2 || !(sampleRateHz > 0.0))
        return s;
    const int length = options.segment > 0 ? static_cast<int>(std::min<qsizetype>(options.segment, n))
                                           : static_cast<int>(n);
    const int step = std::max(1, length / 2);
    s.sampleRateHz = sampleRateHz;
    s.transformLength = length;
    s.resolutionHz = sampleRateHz / length;
    s.segments = static_cast<int>((n - length) / step + 1);

    const std::span<const double> w = CachedWindow(options.window, length);
    const double gain = std::accumulate(w.begin(), w.end(), 0.0);

    // Power is averaged over the segments; each segment's own mean is taken out first, so the
    // window does not spread it over the low bins.
    const int bins = length / 2 + 1;
    std::vector<double> power(static_cast<size_t>(bins), 0.0);
    RealFft& fft = RealFft::forLength(length);
    const std::span<double> in = fft.input();
    for (int seg = 0; seg < s.segments; ++seg) {
        const std::span<const double> part = y.subspan(size_t(seg) * size_t(step), size_t(length));
        const double m = MeanOf(part);
        for (int i = 0; i < length; ++i)
            in[i] = (part[i] - m) * w[i];
        fft.execute();
        const std::span<const std::complex<double>> out = fft.output();
        for (int k = 1; k < bins; ++k)
            power[k] += std::norm(out[k]);
    }

    s.amplitude.resize(bins);
    s.amplitude[0] = std::abs(MeanOf(y));
    for (int k = 1; k < bins; ++k) {
        // Both halves of the two-sided spectrum, except at the Nyquist bin of an even length.
        const double sides = (length % 2 == 0 && k == bins - 1) ? 1.0 : 2.0;
        s.amplitude[k] = sides * std::sqrt(power[k] / s.segments) / gain;
    }
    s.peak = findPeak(s, options.window);
    return s;
}

double ToDecibels(double amplitude)
{
    return 20.0 * std::log10(amplitude);
}

QVector<double> ToDecibels(const QVector<double>& amplitude)
{
    const double highest = amplitude.isEmpty()
                               ? 0.0
                               : *std::max_element(amplitude.begin(), amplitude.end());
    const double floor = highest > 0.0 ? highest * 1e-12 : 1e-12;
    QVector<double> db(amplitude.size());
    for (qsizetype k = 0; k < amplitude.size(); ++k)
        db[k] = ToDecibels(std::max(amplitude[k], floor));
    return db;
}

}  // namespace korvel
