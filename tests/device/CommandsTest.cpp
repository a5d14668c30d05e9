#include "device/Commands.h"
#include "support/Hex.h"

#include <gtest/gtest.h>

using namespace korvel::cmd;
using korvel::testing::hex;

TEST(Commands, BlockCodeTableHoldsEightMinusNInTheTopBits)
{
    const quint8 expected[] = {0xE0, 0xC0, 0xA0, 0x80, 0x60, 0x40, 0x20, 0x00};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(BlockCode(n), expected[n - 1]) << n;
        EXPECT_EQ(BlocksFromCode(BlockCode(n)), n);
    }
}

TEST(Commands, FixedRateStartsCarryTriggerBits)
{
    EXPECT_EQ(cmdStart1MHz(0), hex("11e0"));
    EXPECT_EQ(cmdStart1MHz(2), hex("51e0"));
    EXPECT_EQ(cmdStart07MHz(0), hex("1200"));
    EXPECT_EQ(cmdStart07MHz(1), hex("3200"));
    EXPECT_EQ(cmdStart07MHz(2), hex("5200"));
    EXPECT_EQ(cmdStartAlt(), hex("1600"));
}

TEST(Commands, ExternalClockStartHasNoTriggerAndAThirdByteOffBy10)
{
    EXPECT_EQ(cmdStartExtF(8), hex("100010"));
    EXPECT_EQ(cmdStartExtF(1), hex("10e0f0"));
    EXPECT_EQ(cmdStartExtF(2), hex("10c0d0"));
}

TEST(Commands, FTStartChecksumIsTheLowByteOfTheSum)
{
    EXPECT_EQ(cmdStartFT(0, 8, 1, 1), hex("1300010115"));
    EXPECT_EQ(cmdStartFT(1, 1, 256, 3), hex("33e0000316"));
    EXPECT_EQ(cmdStartFT(0, 8, 256, 256), hex("1300000013"));
    // 0x53 + 0x20 + 0xC8 + 0x96 = 0x1D1.
    EXPECT_EQ(cmdStartFT(2, 7, 200, 150), hex("5320c896d1"));
}

TEST(Commands, AccelerometerStartPacksDurationAndChannels)
{
    EXPECT_EQ(cmdStartADXL(0, 3, true, true), hex("1a8003"));
    EXPECT_EQ(cmdStartADXL(0, 0, false, true), hex("1ae002"));
    EXPECT_EQ(cmdStartADXL(1, 7, true, false), hex("3a0001"));
    EXPECT_EQ(cmdStartADXL(2, 0, false, false), hex("5ae000"));
}

TEST(Commands, SendArrayTakesTheModesBlockCodeOrAllMemoryBeforeAnyStart)
{
    EXPECT_EQ(cmdSendArray(cmdStart07MHz(0)), hex("8000"));
    EXPECT_EQ(cmdSendArray(cmdStart1MHz(0)), hex("80e0"));
    EXPECT_EQ(cmdSendArray(cmdStartFT(0, 3, 5, 5)), hex("80a0"));
    EXPECT_EQ(cmdSendArray(QByteArray()), hex("8000"));
    EXPECT_EQ(cmdSendArray(cmdTemperature()), hex("8000"));
}

TEST(Commands, IdleIsExactlyTheOneByteZero)
{
    EXPECT_TRUE(IsIdle(IdleCommand()));
    EXPECT_FALSE(IsIdle(QByteArray()));
    EXPECT_FALSE(IsIdle(hex("0000")));
    EXPECT_FALSE(IsIdle(cmdStart07MHz(0).left(1) + hex("00")));
}

TEST(Commands, LengthsLetTheBoardSplitAnUnframedStream)
{
    for (int t = 0; t <= 2; ++t) {
        EXPECT_EQ(CommandLength(FirstByte(cmdStart1MHz(t))), 2);
        EXPECT_EQ(CommandLength(FirstByte(cmdStart07MHz(t))), 2);
        EXPECT_EQ(CommandLength(FirstByte(cmdStartFT(t, 1, 1, 1))), 5);
        EXPECT_EQ(CommandLength(FirstByte(cmdStartADXL(t, 0, true, true))), 3);
    }
    EXPECT_EQ(CommandLength(0x10), 3);
    EXPECT_EQ(CommandLength(0x16), 2);
    EXPECT_EQ(CommandLength(0x80), 2);
    EXPECT_EQ(CommandLength(0x29), 1);
    EXPECT_EQ(CommandLength(0x00), 0);
    EXPECT_EQ(CommandLength(0x30), 0);  // the external start takes no trigger
    EXPECT_EQ(CommandLength(0x71), 0);  // trigger type 3 does not exist
    EXPECT_EQ(CommandLength(0x82), 0);
}
