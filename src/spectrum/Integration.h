#pragma once
// Velocity and displacement from an acceleration, by division by jω in the frequency domain
// with a low cut-off: below it (0 Hz included) nothing is kept, so a drift or an offset of the
// accelerometer does not grow into a ramp.

#include <QString>
#include <span>
#include <vector>

namespace korvel {

enum class Quantity { Acceleration, Velocity, Displacement };

struct Integration {
    Quantity quantity = Quantity::Acceleration;   // Acceleration: the signal as it is
    double lowCutHz = 10.0;
    double gain = 1.0;   // from the integral of the signal's unit to the unit shown
};

inline constexpr double StandardGravity = 9.80665;   // m/s² in one g

// The unit of the integrated signal: an acceleration in м/с/с, м/с², m/s² or g gives
// velocity in мм/с and displacement in мкм; any other unit ("ед") gives ед·с and ед·с².
struct IntegratedUnit {
    double gain = 1.0;
    QString unit;
    bool known = true;   // the signal's unit was an acceleration
};
// yTitle: the chart's Y title, the unit after its last comma ("Ускорение, м/с²"); the signal as
// recorded keeps that unit, "ед" when the chart has no title.
IntegratedUnit IntegratedUnitFor(const QString& yTitle, Quantity q);

// How many times the quantity is integrated from the acceleration: 0, 1 or 2.
int IntegrationPower(Quantity q);

// |1 / (jω)^p| · gain at f, for p = 0, 1, 2; zero below the cut-off.
double IntegrationWeight(const Integration& in, double frequencyHz);

// The integrated signal over the whole stretch: its transform divided by (jω)^p, bins below the
// cut-off dropped, transformed back. The stretch is taken as one period, so a tone of whole
// periods comes back exact and any other leaves a ripple at the ends. The values stay in the
// inverse transform's own buffer (a stretch of 240000 points is megabytes, not worth a copy):
// they hold until the next integration.
std::span<const double> IntegrateSignal(std::span<const double> y, double sampleRateHz,
                                        const Integration& in);

}  // namespace korvel
