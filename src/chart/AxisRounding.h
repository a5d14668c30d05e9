#pragma once
// Automatic value axes end on round numbers, so the scale reads cleanly whatever the data.

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

}  // namespace korvel
