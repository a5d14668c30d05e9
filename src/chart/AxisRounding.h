#pragma once
// Automatic value axes end on round numbers, so the scale reads cleanly whatever the data.
// The temperature axis instead keeps a margin round its trace and labels with one decimal.

#include <QString>

namespace korvel {

struct AxisEnds {
    double minimum = 0.0;
    double maximum = 0.0;
};

// A step of 1, 2 or 5 times a power of ten giving about five intervals over [low, high].
double RoundAxisStep(double span);

// [low, high] widened outward to whole steps. An empty span is widened around its value;
// non-finite input comes back unchanged.
AxisEnds RoundedAxisEnds(double low, double high);

// [low, high] of a temperature trace with room above and below, so that no point lies on the
// frame of the plotting area.
AxisEnds TemperatureAxisEnds(double low, double high);
// RoundAxisStep, but never finer than the tenth of a degree the labels can tell apart.
double TemperatureTickStep(double span);
// "#.#": one decimal at most, none when it is zero ("21", "22,5").
QString TemperatureLabel(double celsius);

}  // namespace korvel
