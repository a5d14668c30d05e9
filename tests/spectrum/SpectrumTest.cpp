#include "spectrum/Spectrum.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace korvel;

namespace {

constexpr double Pi = std::numbers::pi;

// Tones at the given frequencies and amplitudes on an offset, sampled n times at rate.
std::vector<double> signal(int n, double rate, double offset,
                           std::initializer_list<std::pair<double, double>> tones)
{
    std::vector<double> y(static_cast<size_t>(n), offset);
    for (int i = 0; i < n; ++i)
        for (const auto& [f, a] : tones)
            y[size_t(i)] += a * std::sin(2 * Pi * f * i / rate + 0.3);
    return y;
}

double relativeSpread(const std::vector<double>& v)
{
    double mean = 0.0;
    for (double x : v)
        mean += x / double(v.size());
    double var = 0.0;
    for (double x : v)
        var += (x - mean) * (x - mean) / double(v.size());
    return std::sqrt(var) / mean;
}

}  // namespace

TEST(Spectrum, SineBetweenTwoBinsReadsItsFrequencyAndWithFlatTopItsAmplitude)
{
    // 1 Hz bins: the tones sit at fractions of a bin, the half bin included.
    const double rate = 8192;
    for (const double f : {1000.0, 1000.23, 1000.5, 2345.81}) {
        const std::vector<double> y = signal(8192, rate, 0.0, {{f, 1300.0}});
        for (const WindowFunction w :
             {WindowFunction::Hann, WindowFunction::Rectangular, WindowFunction::FlatTop}) {
            const Spectrum s = ComputeSpectrum(y, rate, Welch(w, 0));
            ASSERT_TRUE(s.peak);
            EXPECT_NEAR(s.peak->frequencyHz, f, 0.1 * s.resolutionHz) << int(w) << " at " << f;
            if (w == WindowFunction::FlatTop) {
                EXPECT_NEAR(s.peak->amplitude, 1300.0, 0.005 * 1300.0) << f;
            }
        }
        // Welch segments place it as well, in their coarser bins.
        const std::vector<double> longer = signal(65536, rate, 0.0, {{f, 1300.0}});
        const Spectrum welch = ComputeSpectrum(longer, rate, Welch(WindowFunction::Hann, 4096));
        EXPECT_NEAR(welch.peak->frequencyHz, f, 0.1 * welch.resolutionHz) << f;
    }
}

TEST(Spectrum, MeanAtZeroHertzAndTwoTonesAtTheirBins)
{
    const double rate = 8192;
    const std::vector<double> y = signal(8192, rate, 500.0, {{1250.0, 300.0}, {3000.0, 100.0}});
    const Spectrum s = ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 0));
    ASSERT_EQ(s.amplitude.size(), 4097);
    EXPECT_NEAR(s.amplitude[0], 500.0, 1e-9);
    EXPECT_NEAR(s.amplitude[1250], 300.0, 1e-9);
    EXPECT_NEAR(s.amplitude[3000], 100.0, 1e-9);
    EXPECT_LT(s.amplitude[1], 1e-9);   // the mean does not leak into the low bins
    EXPECT_LT(s.amplitude[2000], 1e-9);
    ASSERT_TRUE(s.peak);
    EXPECT_EQ(s.peak->bin, 1250);
    EXPECT_NEAR(s.peak->frequencyHz, 1250.0, 1e-6);

    // A flat record (at a level whose sum does not come out exact) has no tone to mark.
    const double level = 2047 * 0.1234567;
    const Spectrum constant = ComputeSpectrum(std::vector<double>(30000, level), rate, {});
    EXPECT_EQ(constant.amplitude[0], level);
    EXPECT_EQ(*std::max_element(constant.amplitude.begin() + 1, constant.amplitude.end()), 0.0);
    EXPECT_FALSE(constant.peak);

    EXPECT_EQ(ToDecibels(QVector<double>{10.0, 0.0, 1.0}), (QVector<double>{20.0, -220.0, 0.0}));
    EXPECT_TRUE(ComputeSpectrum(std::vector<double>{1.0}, rate, {}).amplitude.isEmpty());
}

TEST(Spectrum, WelchSegmentsAverageNoiseToItsLevel)
{
    // White noise of variance s²: with a Hann window every bin's squared amplitude averages
    // 4 s² Σw² / (Σw)² = 6 s² / N.
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0.0, 2.0);
    std::vector<double> y(240000);
    for (double& v : y)
        v = noise(gen);
    const double rate = 1e6;

    const Spectrum welch = ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 4096));
    EXPECT_EQ(welch.transformLength, 4096);
    EXPECT_EQ(welch.segments, 116);   // (240000 - 4096) / 2048 + 1
    const Spectrum single = ComputeSpectrum(std::span(y).first(4096), rate, Welch(WindowFunction::Hann, 0));
    std::vector<double> pw, ps;
    for (int k = 1; k < 2048; ++k) {
        pw.push_back(welch.amplitude[k] * welch.amplitude[k]);
        ps.push_back(single.amplitude[k] * single.amplitude[k]);
    }
    double mean = 0.0;
    for (double p : pw)
        mean += p / double(pw.size());
    EXPECT_NEAR(mean, 6 * 4.0 / 4096, 0.03 * 6 * 4.0 / 4096);
    EXPECT_LT(relativeSpread(pw), 0.2);
    EXPECT_GT(relativeSpread(ps), 0.6);

    // A stretch shorter than the segment is one transform of its own length.
    const Spectrum shorter = ComputeSpectrum(std::span(y).first(3000), rate, Welch(WindowFunction::Hann, 4096));
    EXPECT_EQ(shorter.transformLength, 3000);
    EXPECT_EQ(shorter.segments, 1);
}
