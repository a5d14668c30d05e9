#include "spectrum/Integration.h"
#include "spectrum/Spectrum.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace korvel;

namespace {

constexpr double Pi = std::numbers::pi;

std::vector<double> sine(int n, double rate, double f, double a)
{
    std::vector<double> y(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        y[size_t(i)] = a * std::sin(2 * Pi * f * i / rate);
    return y;
}

// The integral lives in the transform's buffer until the next one.
std::vector<double> copied(std::span<const double> v)
{
    return {v.begin(), v.end()};
}

double rms(const std::vector<double>& y)
{
    double sum = 0.0;
    for (double v : y)
        sum += v * v;
    return std::sqrt(sum / double(y.size()));
}

}  // namespace

TEST(Integration, ASineAccelerationGivesVelocityAOverOmegaAndDisplacementAOverOmegaSquared)
{
    // 80 Hz, 2 m/s², 2 s at 5 kS/s: whole periods, 0.5 Hz bins.
    const double rate = 5000.0;
    const double f = 80.0;
    const double a = 2.0;
    const double omega = 2 * Pi * f;
    const std::vector<double> y = sine(10000, rate, f, a);
    const IntegratedUnit mmPerS = IntegratedUnitFor(QStringLiteral("Ускорение, м/с²"), Quantity::Velocity);
    const IntegratedUnit microns = IntegratedUnitFor(QStringLiteral("Ускорение, м/с²"), Quantity::Displacement);
    const Integration velocity{Quantity::Velocity, 10.0, mmPerS.gain};
    const Integration displacement{Quantity::Displacement, 10.0, microns.gain};

    // The spectrum: the tone's bin divided by ω and ω², in mm/s and µm.
    SpectrumOptions o;
    o.integration = velocity;
    const Spectrum v = ComputeSpectrum(y, rate, o);
    EXPECT_NEAR(v.peak->amplitude, a / omega * 1e3, 1e-9);
    EXPECT_NEAR(v.peak->frequencyHz, f, 1e-6);
    o.integration = displacement;
    EXPECT_NEAR(ComputeSpectrum(y, rate, o).peak->amplitude, a / (omega * omega) * 1e6, 1e-9);

    // The signal: sines of those amplitudes (their RMS over √2), in phase with the integrals.
    const std::vector<double> vt = copied(IntegrateSignal(y, rate, velocity));
    EXPECT_NEAR(rms(vt), a / omega * 1e3 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(vt[0], -a / omega * 1e3, 1e-9);   // ∫ sin = -cos / ω
    const std::vector<double> dt = copied(IntegrateSignal(y, rate, displacement));
    EXPECT_NEAR(rms(dt), a / (omega * omega) * 1e6 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(dt[0], 0.0, 1e-9);                // ∫∫ sin = -sin / ω²
    EXPECT_NEAR(dt[39], -a / (omega * omega) * 1e6 * std::sin(2 * Pi * f * 39 / rate), 1e-9);
}

TEST(Integration, NothingBelowTheLowCutIsKept)
{
    const double rate = 5000.0;
    std::vector<double> y = sine(10000, rate, 4.0, 1.0);
    const std::vector<double> high = sine(10000, rate, 200.0, 1.0);
    for (size_t i = 0; i < y.size(); ++i)
        y[i] += high[i] + 0.5;   // an offset as well
    const Integration velocity{Quantity::Velocity, 10.0, 1.0};
    const std::vector<double> vt = copied(IntegrateSignal(y, rate, velocity));
    EXPECT_NEAR(rms(vt), 1.0 / (2 * Pi * 200.0) / std::sqrt(2.0), 1e-12);
    SpectrumOptions o;
    o.integration = velocity;
    const Spectrum s = ComputeSpectrum(y, rate, o);
    EXPECT_EQ(s.amplitude[0], 0.0);
    EXPECT_EQ(s.amplitude[8], 0.0);   // 4 Hz
    EXPECT_EQ(s.peak->bin, 400);
    // The velocity RMS over a band is the integrated tone's (the 1/f tilt across the window's
    // lobe bends it by a few parts in a million).
    const double expected = 1.0 / (2 * Pi * 200.0) / std::sqrt(2.0);
    EXPECT_NEAR(ComputeBandRms(s, 10, 1000).rms, expected, 1e-5 * expected);
}

TEST(Integration, UnitsOfTheIntegratedSignal)
{
    const auto unit = [](const char* title, Quantity q) {
        return IntegratedUnitFor(QString::fromUtf8(title), q);
    };
    for (const char* t : {"Ускорение, м/с/с", "a, м/с²", "Acceleration, m/s²"}) {
        EXPECT_EQ(unit(t, Quantity::Velocity).unit, QStringLiteral("мм/с")) << t;
        EXPECT_DOUBLE_EQ(unit(t, Quantity::Velocity).gain, 1e3) << t;
        EXPECT_EQ(unit(t, Quantity::Displacement).unit, QStringLiteral("мкм")) << t;
        EXPECT_DOUBLE_EQ(unit(t, Quantity::Displacement).gain, 1e6) << t;
    }
    EXPECT_DOUBLE_EQ(unit("Ускорение, g", Quantity::Velocity).gain, 9806.65);
    const IntegratedUnit other = unit("Напряжение, мВ", Quantity::Displacement);
    EXPECT_FALSE(other.known);
    EXPECT_EQ(other.unit, QStringLiteral("ед·с²"));
    EXPECT_EQ(other.gain, 1.0);
    EXPECT_EQ(unit("единицы АЦП", Quantity::Velocity).unit, QStringLiteral("ед·с"));
    // As recorded: the title's unit, the title itself when it is one, "ед" for none.
    EXPECT_EQ(unit("Ускорение, g", Quantity::Acceleration).unit, QStringLiteral("g"));
    EXPECT_EQ(unit("единицы АЦП", Quantity::Acceleration).unit, QStringLiteral("единицы АЦП"));
    EXPECT_EQ(unit("", Quantity::Acceleration).unit, QStringLiteral("ед"));
}
