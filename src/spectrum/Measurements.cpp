#include "spectrum/Measurements.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {

Measurements Measure(std::span<const double> y)
{
    Measurements m;
    m.count = static_cast<qsizetype>(y.size());
    if (y.empty()) {
        m.crestFactor = std::numeric_limits<double>::quiet_NaN();
        return m;
    }
    const auto [lo, hi] = std::minmax_element(y.begin(), y.end());
    m.minimum = *lo;
    m.maximum = *hi;
    m.peakToPeak = m.maximum - m.minimum;
    double squares = 0.0;
    for (double v : y)
        squares += v * v;
    const double n = static_cast<double>(y.size());
    m.mean = MeanOf(y);
    m.rms = std::sqrt(squares / n);
    // A second pass: the difference of two large sums would lose a small ripple on an offset.
    double deviations = 0.0;
    for (double v : y)
        deviations += (v - m.mean) * (v - m.mean);
    m.acRms = std::sqrt(deviations / n);
    const double peak = std::max(m.maximum - m.mean, m.mean - m.minimum);
    m.crestFactor = m.acRms > 0.0 ? peak / m.acRms : std::numeric_limits<double>::quiet_NaN();
    return m;
}

double MeanOf(std::span<const double> y)
{
    double sum = 0.0;
    for (double v : y)
        sum += v - y.front();
    return y.front() + sum / static_cast<double>(y.size());
}

}  // namespace korvel
