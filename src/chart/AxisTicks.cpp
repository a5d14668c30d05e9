#include "chart/AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr double Mantissas[] = {1.0, 2.0, 2.5, 5.0};
constexpr int MaxDecimals = 15;
// No axis needs more; a range wider than its numbers can count gets none.
constexpr qsizetype MaxTicks = 200;

int decimalsOf(double step)
{
    for (int d = 0; d < MaxDecimals; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::nearbyint(scaled)) <= 1e-6 * scaled)
            return d;
    }
    return MaxDecimals;
}

int subTicksOf(double mantissa)
{
    return mantissa == 2.0 ? 3 : 4;
}

// Steps from the first nice one at or above `least`, in increasing order.
class NiceSteps {
public:
    explicit NiceSteps(double least)
        : exponent_(static_cast<int>(std::floor(std::log10(least))))
    {
        while (value() < least * (1 - 1e-12))
            advance();
    }
    double value() const { return Mantissas[index_] * std::pow(10.0, exponent_); }
    double mantissa() const { return Mantissas[index_]; }
    void advance()
    {
        if (++index_ == std::size(Mantissas)) {
            index_ = 0;
            ++exponent_;
        }
    }

private:
    int exponent_;
    size_t index_ = 0;
};

}  // namespace

QString TickLabel(double value, int decimals, const QLocale& locale)
{
    // -0 would print with its sign.
    if (value == 0.0)
        value = 0.0;
    return locale.toString(value, 'f', decimals);
}

AxisTicks ChooseAxisTicks(double lower, double upper, const AxisTickSpace& space,
                          const LabelExtent& extent, const QLocale& locale)
{
    AxisTicks t;
    const double range = upper - lower;
    if (!std::isfinite(lower) || !std::isfinite(upper) || !(range > 0.0)
        || !(space.lengthPixels > 0.0))
        return t;
    const double pixelsPerValue = space.lengthPixels / range;
    // Start from the step that keeps ticks at least minSpacingPixels apart, and from one that
    // yields no more than MaxTicks.
    NiceSteps steps(std::max(space.minSpacingPixels / pixelsPerValue, range / MaxTicks));
    for (int attempt = 0; attempt < 64; ++attempt, steps.advance()) {
        const double step = steps.value();
        const double first = std::ceil(lower / step);
        const double last = std::floor(upper / step);
        // Past 2^53 counting by one stands still: such a narrow window of huge numbers gets
        // no ticks rather than an endless count.
        if (std::fabs(first) > 1e15 || std::fabs(last) > 1e15)
            return t;
        const int decimals = decimalsOf(step);
        QVector<double> values;
        QVector<QString> labels;
        double widest = 0.0;
        for (double k = first; k <= last; ++k) {
            values.append(k * step);
            labels.append(TickLabel(k * step, decimals, locale));
            widest = std::max(widest, extent(labels.back()));
        }
        const bool fits = step * pixelsPerValue >= widest + space.gapPixels;
        if (fits || values.size() <= 1) {
            t.step = step;
            t.decimals = decimals;
            t.subTicks = subTicksOf(steps.mantissa());
            t.values = std::move(values);
            t.labels = std::move(labels);
            return t;
        }
    }
    return t;
}

}  // namespace korvel
