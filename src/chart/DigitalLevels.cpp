#include "chart/DigitalLevels.h"

namespace korvel {

DigitalLevels LevelsAround(double top, double bottom)
{
    DigitalLevels l;
    const double d = top - bottom;
    l.DigitalCentre = bottom + d / 2;
    const double half[3] = {d / 14, d / 12, d / 10};
    for (int line = 0; line < 3; ++line) {
        l.high[line] = l.DigitalCentre + half[line];
        l.low[line] = l.DigitalCentre - half[line];
    }
    return l;
}

DigitalLevelsResult CalcDigitalLevels(const ZoomState& zoom, double seriesMin, double seriesMax,
                                      int XUnitFactor)
{
    DigitalLevelsResult r;
    double top = seriesMax;
    double bottom = seriesMin;
    if (zoom.ChartZoomed) {
        top = zoom.leftMax;
        bottom = zoom.leftMin;
        // A factor never set by an earlier plot has no window to carry: keep the axis as it is
        // rather than collapse it to zero.
        const int prev = zoom.PrevXUnitFactor > 0 ? zoom.PrevXUnitFactor : XUnitFactor;
        BottomAxisCarry c;
        c.firstMaximum = zoom.bottomMax * 1000000.0;
        c.minimum = static_cast<double>(static_cast<long double>(prev) * zoom.bottomMin / XUnitFactor);
        c.maximum = static_cast<double>(static_cast<long double>(prev) * zoom.bottomMax / XUnitFactor);
        r.bottomAxis = c;
    }
    r.PrevXUnitFactor = XUnitFactor;
    r.levels = LevelsAround(top, bottom);
    return r;
}

}  // namespace korvel
