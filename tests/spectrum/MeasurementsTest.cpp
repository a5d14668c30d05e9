#include "spectrum/Measurements.h"

#include <gtest/gtest.h>
#include <cmath>
#include <numbers>
#include <vector>

using namespace korvel;

TEST(Measurements, OfKnownValues)
{
    // Deviations from the mean 2 are 0, -6, 2, 4.
    const Measurements m = Measure(std::vector<double>{2, -4, 4, 6});
    EXPECT_EQ(m.count, 4);
    EXPECT_EQ(m.minimum, -4);
    EXPECT_EQ(m.maximum, 6);
    EXPECT_EQ(m.peakToPeak, 10);
    EXPECT_DOUBLE_EQ(m.mean, 2);
    EXPECT_DOUBLE_EQ(m.rms, std::sqrt((4 + 16 + 16 + 36) / 4.0));
    EXPECT_DOUBLE_EQ(m.acRms, std::sqrt((0 + 36 + 4 + 16) / 4.0));
    EXPECT_DOUBLE_EQ(m.crestFactor, 6 / std::sqrt(14.0));

    const Measurements flat = Measure(std::vector<double>(30000, 2047 * 0.1234567));
    EXPECT_EQ(flat.mean, 2047 * 0.1234567);
    EXPECT_EQ(flat.acRms, 0.0);
    EXPECT_TRUE(std::isnan(flat.crestFactor));
    EXPECT_EQ(Measure({}).count, 0);
}

TEST(Measurements, OfASineOnAnOffset)
{
    // Ten whole periods of 5 + 2 sin, its crest sampled.
    std::vector<double> y;
    for (int k = 0; k < 400; ++k)
        y.push_back(5 + 2 * std::sin(2 * std::numbers::pi * k / 40));
    const Measurements m = Measure(y);
    EXPECT_NEAR(m.mean, 5, 1e-12);
    EXPECT_NEAR(m.rms, std::sqrt(25 + 2), 1e-12);
    EXPECT_NEAR(m.acRms, std::sqrt(2), 1e-12);
    EXPECT_NEAR(m.peakToPeak, 4, 1e-12);
    EXPECT_NEAR(m.crestFactor, std::sqrt(2), 1e-12);
}
