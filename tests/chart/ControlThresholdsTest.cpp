#include "chart/ControlThresholds.h"

#include "chart/Scaling.h"
#include "text/NumberFormat.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(ControlThresholds, AnalogueValuesBecomeAdcUnits)
{
    int refreshed = 0;
    const auto scale = [&] {
        ++refreshed;
        return ScaleCoefficients{0.5, 2048};
    };
    const ControlThresholds t = ReadControlThresholds(
        {QStringLiteral("155,0"), QStringLiteral("-55,0"), QStringLiteral("100"),
         QStringLiteral("-99999,0")},
        scale);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(t.ThermoLevelOn, 155.0);
    EXPECT_EQ(t.ThermoLevelOff, -55.0);
    EXPECT_EQ(t.AnalogLevelOn, 2248.0);
    EXPECT_EQ(t.AnalogLevelOff, -99999.0 * 2 + 2048);
}

TEST(ControlThresholds, AnyBadTextFailsTheWholeReading)
{
    int refreshed = 0;
    const auto scale = [&] {
        ++refreshed;
        return ScaleCoefficients{1.0, 0};
    };
    EXPECT_THROW(ReadControlThresholds({QStringLiteral("20.5"), QStringLiteral("1"),
                                        QStringLiteral("1"), QStringLiteral("1")},
                                       scale),
                 ConversionError);
    EXPECT_EQ(refreshed, 0);
    EXPECT_THROW(ReadControlThresholds({QStringLiteral("1"), QStringLiteral("1"),
                                        QStringLiteral("1"), QStringLiteral("")},
                                       scale),
                 ConversionError);
    EXPECT_EQ(refreshed, 1);
}
