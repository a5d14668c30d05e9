#include "spectrum/Spectrogram.h"

#include <gtest/gtest.h>
#include <cmath>
#include <numbers>
#include <vector>

using namespace korvel;

TEST(Spectrogram, FollowsTheRidgeOfALinearChirp)
{
    // 1 kHz rising to 9 kHz over 2 s at 20 kS/s: f(t) = f0 + c t, phase 2π(f0 t + c t²/2).
    const double rate = 20000.0;
    const double f0 = 1000.0;
    const double c = 4000.0;
    std::vector<double> y(40000);
    for (size_t i = 0; i < y.size(); ++i) {
        const double t = double(i) / rate;
        y[i] = std::sin(2 * std::numbers::pi * (f0 * t + c * t * t / 2));
    }
    const Spectrogram g = ComputeSpectrogram(y, rate, Frames(WindowFunction::Hann, 1024, 50));
    EXPECT_EQ(g.frames, (40000 - 1024) / 512 + 1);
    EXPECT_EQ(g.bins, 513);
    EXPECT_DOUBLE_EQ(g.timeStepS, 512 / rate);
    EXPECT_DOUBLE_EQ(g.resolutionHz, rate / 1024);
    for (int f = 0; f < g.frames; ++f) {
        int best = 0;
        for (int k = 1; k < g.bins; ++k)
            if (g.at(f, k) > g.at(f, best))
                best = k;
        // At the frame's centre time, within a bin.
        EXPECT_NEAR(g.frequencyOf(best), f0 + c * g.timeOf(f), g.resolutionHz) << f;
    }

    // In dB, a density: 10·log10 of the same frame's density.
    SpectrogramOptions db = Frames(WindowFunction::Hann, 1024, 75, SpectrumScale::Psd, true);
    SpectrogramOptions linear = db;
    linear.decibels = false;
    const Spectrogram gd = ComputeSpectrogram(y, rate, db);
    const Spectrogram gl = ComputeSpectrogram(y, rate, linear);
    EXPECT_EQ(gd.frames, (40000 - 1024) / 256 + 1);
    EXPECT_NEAR(gd.at(10, 100), 10 * std::log10(gl.at(10, 100)), 1e-9);
}

TEST(Spectrogram, AStretchShorterThanTheSegmentIsOneFrame)
{
    const std::vector<double> y(300, 1.0);
    const Spectrogram g = ComputeSpectrogram(y, 1000.0, Frames(WindowFunction::Hann, 1024, 50));
    EXPECT_EQ(g.frames, 1);
    EXPECT_EQ(g.bins, 151);
    EXPECT_DOUBLE_EQ(g.at(0, 0), 1.0);   // the mean at 0 Hz
    EXPECT_DOUBLE_EQ(g.firstTimeS, 299 / 2.0 / 1000.0);
    EXPECT_EQ(ComputeSpectrogram(std::vector<double>{1.0}, 1000.0, {}).frames, 0);
}
