#pragma once
// Where the three digital lines are drawn: two-level traces nested in the middle of the
// signal's range (or of the zoomed Y window), line 3 the widest.

#include <array>
#include <optional>

namespace korvel {

struct DigitalLevels {
    double DigitalCentre = 0.0;
    std::array<double, 3> high{};  // lines 1, 2, 3 ("XP2/конт.2", "XP2/конт.3", "XP3/конт.8")
    std::array<double, 3> low{};
};

DigitalLevels LevelsAround(double top, double bottom);

// The zoom of the main chart as the window sees it before the plot.
struct ZoomState {
    bool ChartZoomed = false;
    double leftMin = 0.0;
    double leftMax = 0.0;
    double bottomMin = 0.0;
    double bottomMax = 0.0;
    int PrevXUnitFactor = 0;
};

// The bottom axis window carried over to a new X unit. The window applies, in this order:
// setMaximum(firstMaximum), setMinimum(minimum), setMaximum(maximum), so the minimum never
// passes the maximum while it is being set.
struct BottomAxisCarry {
    double firstMaximum = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
};

struct DigitalLevelsResult {
    DigitalLevels levels;
    std::optional<BottomAxisCarry> bottomAxis;  // only when zoomed
    int PrevXUnitFactor = 0;                    // the factor to remember for the next plot
};

// seriesMin/seriesMax: smallest and largest Y of Series1 (both 0 when it is empty).
DigitalLevelsResult CalcDigitalLevels(const ZoomState& zoom, double seriesMin, double seriesMax,
                                      int XUnitFactor);

}  // namespace korvel
