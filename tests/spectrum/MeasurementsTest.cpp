#include "spectrum/Measurements.h"
#include "spectrum/SignalAnalysis.h"

#include <QLocale>

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

// The table of the spectrum window in a Russian session: a small value in a power of ten, not
// "6,907E-05"; a mean left by the arithmetic at 10⁻¹⁶ of the signal reads 0.
TEST(Measurements, TableTextsInARussianSession)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    SignalAnalysis a;
    ChannelAnalysis c;
    c.measurements = {.count = 1000, .minimum = -6.907e-5, .maximum = 7.1e-5, .peakToPeak = 1.4007e-4,
                      .mean = 4.7011e-21, .rms = 5.0e-5, .acRms = 5.0e-5, .crestFactor = 1.42};
    a.channels.push_back(c);
    c.measurements = {.count = 1000, .minimum = -1234567.0, .maximum = 0.5, .peakToPeak = 1234567.5,
                      .mean = -2.5, .rms = 3.0, .acRms = 2.0, .crestFactor = 2.0};
    a.channels.push_back(c);
    const std::vector<MeasurementRow> rows = MeasurementRows(a);
    QLocale::setDefault(before);

    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0].values, QStringList({QStringLiteral("-6,907·10⁻⁵"), QStringLiteral("-1,2346·10⁶")}));
    EXPECT_EQ(rows[1].values, QStringList({QStringLiteral("7,1·10⁻⁵"), QStringLiteral("0,5")}));
    EXPECT_EQ(rows[3].caption, QStringLiteral("Среднее"));
    EXPECT_EQ(rows[3].values, QStringList({QStringLiteral("0"), QStringLiteral("-2,5")}));
    EXPECT_EQ(rows[4].values, QStringList({QStringLiteral("5·10⁻⁵"), QStringLiteral("3")}));
}
