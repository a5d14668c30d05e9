#include "spectrum/Spectrogram.h"

#include "spectrum/SegmentPower.h"

#include <algorithm>
#include <cmath>

namespace korvel {

Spectrogram ComputeSpectrogram(std::span<const double> y, double sampleRateHz,
                               const SpectrogramOptions& options)
{
    Spectrogram g;
    const auto n = static_cast<qsizetype>(y.size());
    if (n < 2 || !(sampleRateHz > 0.0) || !std::isfinite(sampleRateHz))
        return g;
    const int length = static_cast<int>(std::min<qsizetype>(std::max(2, options.segment), n));
    const int step = SegmentStep(length, options.overlapPercent);
    SegmentPower segment(options.window, length);
    g.frames = static_cast<int>((n - length) / step + 1);
    g.bins = segment.bins();
    g.length = length;
    g.timeStepS = step / sampleRateHz;
    // A frame's centre: halfway between its first and its last sample.
    g.firstTimeS = (length - 1) / 2.0 / sampleRateHz;
    g.resolutionHz = sampleRateHz / length;
    g.values.resize(size_t(g.frames) * size_t(g.bins));

    const std::vector<double> factor = segment.factors(options.scale, sampleRateHz, options.integration);
    const bool power = IsPowerScale(options.scale);
    // Zero power sits as far below as the spectrum's dB floor puts it.
    const double floorDb = -240.0;
    for (int f = 0; f < g.frames; ++f) {
        const std::span<double> row(g.values.data() + size_t(f) * size_t(g.bins), size_t(g.bins));
        segment.transform(y.subspan(size_t(f) * size_t(step), size_t(length)), row);
        for (int k = 0; k < g.bins; ++k) {
            const double p = row[size_t(k)] * factor[size_t(k)];
            if (options.decibels)
                row[size_t(k)] = p > 0.0 ? 10.0 * std::log10(p) : floorDb;
            else
                row[size_t(k)] = power ? p : std::sqrt(p);
        }
    }
    return g;
}

}  // namespace korvel
