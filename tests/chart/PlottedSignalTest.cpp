#include "chart/PlottedSignal.h"
#include "support/SampleWords.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::Words;

TEST(PlottedSignal, OrdinaryRecordWithTemperatureKeepsWordsAndQuarterDegrees)
{
    // Two signal words, two temperatures.
    const Recording r{.SampleBuffer = Words({0x2005, 0x0007, 90, 0xFFD7}), .DataKind = 129,
                      .ModeCommand = QByteArray("\x12\x00\x00", 3), .SamplePeriod = 4.0};
    // Values of (r - 1) × 0.5 against time in ms.
    const PlottedSignal s = PlotSignal(r, {0, 1000, {0.5, 1}});
    ASSERT_EQ(s.channels.size(), 1u);
    EXPECT_EQ(s.channels[0].points.y, (QVector<double>{2.0, 3.0}));
    EXPECT_EQ(s.channels[0].points.x, (QVector<double>{0.0, 0.004}));
    EXPECT_EQ(s.channels[0].words, (std::vector<quint16>{0x2005, 0x0007}));
    EXPECT_EQ(s.temperature, (std::vector<qint16>{90, -41}));
    EXPECT_DOUBLE_EQ(s.samplePeriodSeconds, 4e-6);
}

TEST(PlottedSignal, TwoAccelerometerChannelsSplitByTheMarkBit)
{
    const Recording r{.SampleBuffer = Words({0x8010, 0x0010, 0x8020, 0x0030}),
                      .ModeCommand = QByteArray("\x1A\xE0\x03", 3), .AccelPeriod = 0.002};
    const PlottedSignal s = PlotSignal(r, {1, 1, {1.0, 0}});
    ASSERT_EQ(s.channels.size(), 2u);
    EXPECT_EQ(s.channels[0].points.y, (QVector<double>{1, 17}));    // + AccelOffsetX
    EXPECT_EQ(s.channels[1].points.y, (QVector<double>{93, 125}));  // + AccelOffsetY
    EXPECT_EQ(s.channels[0].words, (std::vector<quint16>{0x8010, 0x8020}));
    EXPECT_EQ(s.channels[1].words, (std::vector<quint16>{0x0010, 0x0030}));
    EXPECT_DOUBLE_EQ(s.samplePeriodSeconds, 0.002);
}

TEST(PlottedSignal, RealTimePointsAndTheVisibleRange)
{
    const Recording r{.ModeCommand = QByteArray(1, '\x14'), .SamplePeriod = 1000000,
                      .RealTimeSignal = {1, 2, 3, 4, 5}, .RealTimeCount = 5};
    const PlottedSignal s = PlotSignal(r, {3, 1000000, {1.0, 0}});   // ADC units, seconds
    EXPECT_EQ(s.channels[0].points.y, (QVector<double>{1, 2, 3, 4, 5}));
    EXPECT_DOUBLE_EQ(s.samplePeriodSeconds, 1.0);
    EXPECT_TRUE(s.temperature.empty());

    // Both ends count, as the chart counts its visible points.
    const IndexRange in = PointsWithin(s.channels[0].points, 1.0, 3.0);
    EXPECT_EQ(in.first, 1);
    EXPECT_EQ(in.count, 3);
    EXPECT_EQ(PointsWithin(s.channels[0].points, 3.5, 3.9).count, 0);
}
