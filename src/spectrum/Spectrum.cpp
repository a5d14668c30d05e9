#include "spectrum/Spectrum.h"

#include "spectrum/Measurements.h"
#include "spectrum/SegmentPower.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

SpectrumPeak refinedPeak(const Spectrum& s, int k)
{
    const QVector<double>& a = s.amplitude;
    const int last = static_cast<int>(a.size()) - 1;
    // Bin 0 holds the mean, not the lobe of a tone, so it is no neighbour. An integrated
    // spectrum is tilted by 1/f per integration: the ratio is that of the acceleration.
    const int p = IntegrationPower(s.quantity);
    const auto ratio = [&](int n) {
        if (n < 1 || n > last)
            return 0.0;
        return a[n] / a[k] * std::pow(double(n) / k, p);
    };
    const double left = ratio(k - 1);
    const double right = ratio(k + 1);
    const int side = right >= left ? 1 : -1;
    const double position = k + side * offsetTowardNeighbour(s.window, std::max(left, right));
    // The bin was divided by its own ω, the tone's value by the tone's.
    return SpectrumPeak{k, position * s.resolutionHz, a[k] * std::pow(k / position, p), 1.0};
}

}  // namespace

bool IsSegmentLength(int n)
{
    return n >= MinimumSegment && n <= MaximumSegment;
}

bool IsOverlap(int percent)
{
    return std::find(std::begin(Overlaps), std::end(Overlaps), percent) != std::end(Overlaps);
}

Spectrum ComputeSpectrum(std::span<const double> y, double sampleRateHz,
                         const SpectrumOptions& options)
{
    Spectrum s;
    const auto n = static_cast<qsizetype>(y.size());
    if (n < 2 || !(sampleRateHz > 0.0) || !std::isfinite(sampleRateHz))
        return s;
    const int length = options.segment > 0 ? static_cast<int>(std::min<qsizetype>(options.segment, n))
                                           : static_cast<int>(n);
    const int step = SegmentStep(length, options.overlapPercent);
    s.sampleRateHz = sampleRateHz;
    s.transformLength = length;
    s.resolutionHz = sampleRateHz / length;
    s.segments = static_cast<int>((n - length) / step + 1);
    s.window = options.window;
    s.quantity = options.integration.quantity;

    SegmentPower segment(options.window, length);
    s.noiseBandwidthHz = segment.noiseBandwidthHz(sampleRateHz);
    const int bins = segment.bins();
    // The powers gather in the result itself: a long stretch's bins are megabytes.
    s.amplitude.resize(bins);
    const std::span<double> power(s.amplitude.data(), size_t(bins));
    if (s.segments == 1) {
        segment.transform(y.first(size_t(length)), power);
    } else {
        std::vector<double> one(static_cast<size_t>(bins));
        std::fill(power.begin(), power.end(), 0.0);
        const bool hold = options.averaging == Averaging::PeakHold;
        for (int seg = 0; seg < s.segments; ++seg) {
            segment.transform(y.subspan(size_t(seg) * size_t(step), size_t(length)), one);
            for (int k = 1; k < bins; ++k)
                power[size_t(k)] = hold ? std::max(power[size_t(k)], one[size_t(k)])
                                        : power[size_t(k)] + one[size_t(k)] / s.segments;
        }
    }
    // The mean of the whole stretch, not of the segments: the tail past the last one counts.
    power[0] = std::abs(MeanOf(y)) * IntegrationWeight(options.integration, 0.0);
    for (int k = 1; k < bins; ++k)
        power[size_t(k)] = std::sqrt(power[size_t(k)] *
                                     segment.factor(k, SpectrumScale::Amplitude, sampleRateHz,
                                                    options.integration));
    const std::vector<SpectrumPeak> highest = FindPeaks(s, 1);
    if (!highest.empty())
        s.peak = highest.front();
    return s;
}

double ScaledValue(const Spectrum& s, int bin, SpectrumScale scale)
{
    const double a = s.amplitude[bin];
    const bool edge = bin == 0 || (s.transformLength % 2 == 0 && bin == s.amplitude.size() - 1);
    const double rms = edge ? a : a / std::numbers::sqrt2;
    switch (scale) {
    case SpectrumScale::Amplitude: return a;
    case SpectrumScale::Rms: return rms;
    case SpectrumScale::Psd: return rms * rms / s.noiseBandwidthHz;
    case SpectrumScale::Asd: return rms / std::sqrt(s.noiseBandwidthHz);
    }
    return a;
}

QVector<double> ScaledValues(const Spectrum& s, SpectrumScale scale)
{
    if (scale == SpectrumScale::Amplitude)
        return s.amplitude;
    QVector<double> v(s.amplitude.size());
    for (int k = 0; k < v.size(); ++k)
        v[k] = ScaledValue(s, k, scale);
    return v;
}

bool IsPowerScale(SpectrumScale scale)
{
    return scale == SpectrumScale::Psd;
}

std::vector<SpectrumPeak> FindPeaks(const Spectrum& s, int count)
{
    const QVector<double>& a = s.amplitude;
    const int last = static_cast<int>(a.size()) - 1;
    std::vector<int> maxima;
    for (int k = 1; k <= last; ++k)
        if (a[k] > 0.0 && (k == 1 || a[k] >= a[k - 1]) && (k == last || a[k] >= a[k + 1]))
            maxima.push_back(k);
    // Highest first (the lower bin of two equal); a heap, since a noisy spectrum has tens of
    // thousands of maxima and only a few are wanted.
    const auto lower = [&](int l, int r) { return a[l] < a[r] || (a[l] == a[r] && l > r); };
    std::make_heap(maxima.begin(), maxima.end(), lower);
    const int lobe = MainLobeBins(s.window);
    std::vector<int> kept;
    for (auto end = maxima.end(); end != maxima.begin() && int(kept.size()) < count; --end) {
        std::pop_heap(maxima.begin(), end, lower);
        const int k = *(end - 1);
        if (std::all_of(kept.begin(), kept.end(), [&](int j) { return std::abs(k - j) >= lobe; }))
            kept.push_back(k);
    }
    std::vector<SpectrumPeak> peaks;
    for (int k : kept)
        peaks.push_back(refinedPeak(s, k));
    for (SpectrumPeak& p : peaks)
        p.order = peaks.front().frequencyHz > 0.0 ? p.frequencyHz / peaks.front().frequencyHz : 0.0;
    return peaks;
}

BandRms ComputeBandRms(const Spectrum& s, double fromHz, double toHz)
{
    BandRms b{fromHz, toHz, 0.0, true};
    if (s.amplitude.isEmpty())
        return b;
    b.reached = toHz <= s.nyquistHz() * (1 + 1e-12);
    // A bin's mean square is its density times the bin spacing; the mean's is its square.
    const double binsPerBandwidth = s.resolutionHz / s.noiseBandwidthHz;
    const int first = std::max(0, int(std::ceil(fromHz / s.resolutionHz - 1e-9)));
    const int last = std::min(int(s.amplitude.size()) - 1, int(std::floor(toHz / s.resolutionHz + 1e-9)));
    double sum = 0.0;
    for (int k = first; k <= last; ++k) {
        const double rms = ScaledValue(s, k, SpectrumScale::Rms);
        sum += k == 0 ? rms * rms : rms * rms * binsPerBandwidth;
    }
    b.rms = std::sqrt(sum);
    return b;
}

double ToDecibels(double value, SpectrumScale scale)
{
    return (IsPowerScale(scale) ? 10.0 : 20.0) * std::log10(value);
}

QVector<double> ToDecibels(const QVector<double>& values, SpectrumScale scale)
{
    const double highest = values.isEmpty() ? 0.0 : *std::max_element(values.begin(), values.end());
    const double range = IsPowerScale(scale) ? 1e-24 : 1e-12;
    const double floor = highest > 0.0 ? highest * range : range;
    QVector<double> db(values.size());
    for (qsizetype k = 0; k < values.size(); ++k)
        db[k] = ToDecibels(std::max(values[k], floor), scale);
    return db;
}

}  // namespace korvel
