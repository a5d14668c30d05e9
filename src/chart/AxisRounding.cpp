#include "chart/AxisRounding.h"

#include "text/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace korvel {

double RoundAxisStep(double span)
{
    const double raw = std::abs(span) / 5.0;
    if (!(raw > 0.0) || !std::isfinite(raw))
        return 1.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / magnitude;
    // A hair of tolerance so that a raw step of exactly 2 or 5 is not pushed to the next one.
    for (double nice : {1.0, 2.0, 5.0}) {
        if (mantissa <= nice * (1.0 + 1e-9))
            return nice * magnitude;
    }
    return 10.0 * magnitude;
}

AxisEnds RoundedAxisEnds(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {low, high};
    if (low > high)
        std::swap(low, high);
    if (low == high) {
        // A flat signal still gets an axis with room above and below it.
        const double half = low == 0.0 ? 1.0 : std::abs(low) * 0.1;
        low -= half;
        high += half;
    }
    const double step = RoundAxisStep(high - low);
    // Ratios within a rounding error of a whole step stay on that step instead of jumping one.
    const double lowSteps = low / step;
    const double highSteps = high / step;
    const double lowK = std::abs(lowSteps - std::nearbyint(lowSteps)) < 1e-9 ? std::nearbyint(lowSteps)
                                                                         : std::floor(lowSteps);
    const double highK = std::abs(highSteps - std::nearbyint(highSteps)) < 1e-9 ? std::nearbyint(highSteps)
                                                                            : std::ceil(highSteps);
    return {lowK * step, highK * step};
}

AxisEnds TemperatureAxisEnds(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {low, high};
    if (low > high)
        std::swap(low, high);
    const double margin = std::max((high - low) * 0.05, 0.1);
    return {low - margin, high + margin};
}

double TemperatureTickStep(double span)
{
    return std::max(RoundAxisStep(span), 0.1);
}

QString TemperatureLabel(double celsius)
{
    QString t = FormatFixed(celsius, 1);
    if (t.endsWith(QLatin1Char('0')))
        t.chop(2);
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

}  // namespace korvel
