#include "chart/ViewRanges.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// Below this share of the values' size the axis' ticks and the pixel mapping run out of
// digits: a double has about 16.
constexpr double NarrowestRelativeWidth = 1e-12;
constexpr double WidestSpan = 1e300;

bool usable(AxisSpan s)
{
    if (!std::isfinite(s.lower) || !std::isfinite(s.upper) || !(s.upper > s.lower))
        return false;
    const double size = std::max({std::fabs(s.lower), std::fabs(s.upper), 1e-300});
    return s.width() >= size * NarrowestRelativeWidth && s.width() <= WidestSpan;
}

}  // namespace

double WheelZoomFactor(int angleDelta)
{
    return std::pow(ZoomStep, static_cast<double>(angleDelta) / WheelNotch);
}

std::optional<AxisSpan> ZoomedAbout(AxisSpan span, double about, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor) || !std::isfinite(about))
        return std::nullopt;
    const AxisSpan zoomed{about - (about - span.lower) / factor,
                          about + (span.upper - about) / factor};
    if (!usable(zoomed))
        return std::nullopt;
    return zoomed;
}

AxisSpan ShiftedBy(AxisSpan span, double fraction)
{
    const double by = span.width() * fraction;
    return {span.lower + by, span.upper + by};
}

AxisSpan DraggedBy(AxisSpan start, double pixels, double lengthPixels)
{
    if (!(lengthPixels > 0.0))
        return start;
    // The content follows the mouse, so the window moves the other way.
    const double by = -pixels * start.width() / lengthPixels;
    return {start.lower + by, start.upper + by};
}

}  // namespace korvel
