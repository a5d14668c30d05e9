#pragma once
// The measurements of a stretch of the signal, in its own unit.

#include <QtGlobal>
#include <span>

namespace korvel {

struct Measurements {
    qsizetype count = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    double peakToPeak = 0.0;
    double mean = 0.0;
    double rms = 0.0;
    double acRms = 0.0;         // RMS of the signal less its mean
    // Largest distance from the mean over acRms: a sine reads √2 whatever its offset.
    // NaN for a constant or empty stretch.
    double crestFactor = 0.0;
};

Measurements Measure(std::span<const double> y);

// The mean, summed as distances from the first value: a flat stretch gets its own level back
// exactly, so nothing of it is left over as a ripple or a tone. y must not be empty.
double MeanOf(std::span<const double> y);

}  // namespace korvel
