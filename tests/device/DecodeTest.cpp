#include "device/Decode.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(Decode, RawPairsGatherIntoSampleWords)
{
    EXPECT_EQ(ReorderPair(0x3C, 0xAB), 0x0ABF);
    EXPECT_EQ(ReorderPair(0x83, 0x00), 0xE000);
    EXPECT_EQ(ReorderPair(0x40, 0x00), 0x0000);  // bit 6 is noise
    EXPECT_EQ(ReorderPair(0xFF, 0xFF), 0xEFFF);  // bit 12 is always clear
}

TEST(Decode, EncodingRoundTripsEveryWordTheBoardCanSend)
{
    for (unsigned w = 0; w < 0x10000; ++w) {
        if (w & 0x1000)
            continue;
        for (bool noise : {false, true}) {
            quint8 L = 0, H = 0;
            EncodePair(static_cast<quint16>(w), noise, &L, &H);
            ASSERT_EQ(ReorderPair(L, H), w) << std::hex << w;
            ASSERT_EQ((L & 0x40) != 0, noise);
        }
    }
}

TEST(Decode, InPlaceReorderingLeavesAnOddTrailingByte)
{
    QByteArray area = QByteArray::fromHex("3cab830040007e");
    ReorderPairsInPlace(area.data(), area.size());
    EXPECT_EQ(area, QByteArray::fromHex("bf0a00e000007e"));
}

TEST(Decode, TemperatureWords)
{
    EXPECT_DOUBLE_EQ(TemperatureCelsius(0x0191), 25.0625);
    EXPECT_DOUBLE_EQ(TemperatureCelsius(0xFF5E), -10.125);
    EXPECT_EQ(TemperatureQuarterDegrees(0xFF5E), -41);
    EXPECT_EQ(TemperatureQuarterDegrees(0x0191), 100);
    EXPECT_EQ(TemperatureQuarterDegrees(0xFFFF), -1);
}

TEST(Decode, TemperatureTextsUseTheLocaleAndAFourCharacterField)
{
    const QString when = QStringLiteral("06.12.2026 19:58:23");
    EXPECT_EQ(TemperatureText(TemperatureCelsius(0x0191), when),
              QStringLiteral("25,1 градусов на 06.12.2026 19:58:23"));
    EXPECT_EQ(TemperatureText(TemperatureCelsius(0xFF5E), when),
              QStringLiteral("-10,1 градусов на 06.12.2026 19:58:23"));
    EXPECT_EQ(TemperatureText(TemperatureCelsius(0x0050), when),
              QStringLiteral(" 5,0 градусов на 06.12.2026 19:58:23"));
}

TEST(Decode, DateTimeTextIsShortDateAndLongTimeWithoutZone)
{
    const QDateTime when(QDate(2026, 12, 6), QTime(19, 58, 23));
    EXPECT_EQ(DateTimeText(when), QStringLiteral("06.12.2026 19:58:23"));
}
