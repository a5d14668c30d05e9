#include "device/ModeStarts.h"
#include "support/Hex.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

using namespace korvel;
using korvel::testing::hex;

namespace {
std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }
}

TEST(ModeStarts, SamplePeriodsCarryTheExtendedPrecisionQuotient)
{
    EXPECT_EQ(bits(Start1MHz(0).SamplePeriod), 0x3FEE61C71C71C71Cull);
    EXPECT_EQ(bits(Start07MHz(0).SamplePeriod), 0x3FF6C95555555555ull);
    EXPECT_EQ(bits(StartAlt().SamplePeriod), 0x3FF6C95555555555ull);
    EXPECT_EQ(bits(StartADXL(0, 0, true, true, 21).start.SamplePeriod), 0x3FEE61C71C71C71Cull);
}

TEST(ModeStarts, FixedRateStarts)
{
    const ModeStart a = Start1MHz(2);
    EXPECT_EQ(a.command, hex("51e0"));
    EXPECT_EQ(a.BlockCount, 1);
    EXPECT_EQ(a.TransferTimeMs, 1000);
    EXPECT_EQ(a.TransferStatusText, QStringLiteral("ПЕРЕДАЧА МАССИВА, 1с"));
    EXPECT_FALSE(a.showMeasureProgress);

    const ModeStart b = Start07MHz(2);
    EXPECT_EQ(b.command, hex("5200"));
    EXPECT_EQ(b.BlockCount, 8);
    EXPECT_EQ(b.TransferStatusText, QStringLiteral("ПЕРЕДАЧА МАССИВА, 7с"));

    EXPECT_EQ(StartAlt().command, hex("1600"));
    EXPECT_EQ(StartAlt().BlockCount, 8);
}

TEST(ModeStarts, TransferTextsRoundHalfToEven)
{
    const char* expected[] = {"1", "2", "3", "4", "4", "5", "6", "7"};
    for (int blocks = 1; blocks <= 8; ++blocks) {
        const ModeStart s = StartFT(0, blocks, 1, 1);
        EXPECT_EQ(s.TransferTimeMs, (blocks * 7000) / 8);
        EXPECT_EQ(s.TransferStatusText,
                  QStringLiteral("ПЕРЕДАЧА МАССИВА, ") + expected[blocks - 1] + QStringLiteral("с"));
    }
    EXPECT_EQ(StartFT(0, 1, 1, 1).TransferTimeMs, 875);
    EXPECT_EQ(StartFT(0, 5, 1, 1).TransferTimeMs, 4375);
}

TEST(ModeStarts, FTStartBytesPeriodAndMeasureEstimate)
{
    const ModeStart s = StartFT(0, 8, 256, 256);
    EXPECT_EQ(s.command, hex("1300000013"));
    EXPECT_EQ(s.BlockCount, 8);
    // 197397 ticks, the longest period.
    EXPECT_DOUBLE_EQ(s.SamplePeriod, 197397 / 14.7456);
    EXPECT_EQ(s.MeasureTimeMs, 3212842);
    EXPECT_TRUE(s.showMeasureProgress);

    const ModeStart fast = StartFT(1, 1, 1, 1);
    EXPECT_EQ(fast.command, hex("33e0010115"));
    EXPECT_EQ(fast.MeasureTimeMs, 55);  // 27 ticks × 30000 samples
    EXPECT_FALSE(fast.showMeasureProgress);
}

TEST(ModeStarts, MeasureProgressOnlyAboveTwoSeconds)
{
    EXPECT_FALSE(ShowsMeasureProgress(2000));
    EXPECT_TRUE(ShowsMeasureProgress(2001));
    // 60000 samples at 30 kHz: exactly 2000 ms.
    const ModeStart ext = StartExtF(60000, 30000);
    EXPECT_EQ(ext.MeasureTimeMs, 2000);
    EXPECT_FALSE(ext.showMeasureProgress);
}

TEST(ModeStarts, ExternalClockStartIgnoresTriggerAndTruncatesBlocks)
{
    const ModeStart s = StartExtF(60000, 100000);
    EXPECT_EQ(s.command, hex("10c0d0"));
    EXPECT_EQ(s.BlockCount, 2);
    EXPECT_DOUBLE_EQ(s.SamplePeriod, 10.0);
    EXPECT_EQ(s.TransferTimeMs, 1750);
    EXPECT_EQ(StartExtF(89999, 100000).BlockCount, 2);
    EXPECT_EQ(StartExtF(240000, 1000).command, hex("100010"));
}

TEST(ModeStarts, AccelerometerStarts)
{
    const AccelStart both = StartADXL(0, 3, true, true, 21);
    EXPECT_EQ(both.start.command, hex("1a8003"));
    EXPECT_EQ(both.start.MeasureTimeMs, 42000);
    EXPECT_EQ(both.start.BlockCount, 4);
    EXPECT_EQ(both.start.TransferTimeMs, 4000);
    EXPECT_EQ(both.start.TransferStatusText, QStringLiteral("ПЕРЕДАЧА МАССИВА, 4с"));
    EXPECT_EQ(both.channelMask, 3);

    const AccelStart y = StartADXL(0, 0, false, true, 21);
    EXPECT_EQ(y.start.command, hex("1ae002"));
    EXPECT_EQ(y.start.MeasureTimeMs, 21000);
    EXPECT_EQ(StartADXL(1, 0, true, true, 21).start.command.at(0), char(0x3A));
}

TEST(ModeStarts, AccelerometerDurationsRoundInExtendedPrecision)
{
    EXPECT_EQ(AccelBlockSecondsFor(0.0007), 21);
    EXPECT_EQ(AccelDurationEntries(0.0007, 1).join(' '), "21c 42c 63c 84c 105c 126c 147c 168c");
    EXPECT_EQ(AccelDurationEntries(0.0007, 2).join(' '), "10c 21c 31c 42c 52c 63c 73c 84c");
    const double reported = 10322 / 14745600.0;
    EXPECT_EQ(AccelDurationEntries(reported, 1).join(' '), "21c 42c 63c 84c 105c 126c 147c 168c");
    EXPECT_EQ(AccelDurationEntries(reported, 2).join(' '), "11c 21c 32c 42c 53c 63c 74c 84c");
    EXPECT_EQ(AccelBlockSecondsFor(14746 / 14745600.0), 30);
    EXPECT_EQ(AccelDurationEntries(14746 / 14745600.0, 2).join(' '), "15c 30c 45c 60c 75c 90c 105c 120c");
    EXPECT_EQ(AccelChannelsFor(true, false), 1);
    EXPECT_EQ(AccelChannelsFor(true, true), 2);
}

TEST(ModeStarts, ProgressPanelArithmetic)
{
    const ProgressStart p = StartProgress(7000);
    EXPECT_EQ(p.maximum, 7000);
    EXPECT_EQ(p.ProgressTotalS, 7);
    EXPECT_EQ(p.lAll, "00:07");
    EXPECT_EQ(p.lElapsed, "00:00");
    EXPECT_EQ(StartProgress(3212842).lAll, "53:33");
    EXPECT_EQ(StartProgress(875).ProgressTotalS, 1);
    EXPECT_EQ(StartProgress(2500).ProgressTotalS, 2);  // half to even

    const ProgressTick t = TickProgress(1000, 3999, 7, 7000);
    EXPECT_EQ(t.ProgressElapsedS, 2);
    EXPECT_EQ(t.ProgressRestS, 5);
    EXPECT_EQ(t.ProgressPercent, 28);
    EXPECT_EQ(t.lbPercent, "28%");
    EXPECT_EQ(t.lbRestPercent, "72%");
    EXPECT_EQ(t.lElapsed, "00:02");
    EXPECT_EQ(t.lRest, "00:05");
    EXPECT_EQ(t.position, 2000);
    EXPECT_FALSE(t.hide);

    EXPECT_TRUE(TickProgress(1000, 8000, 7, 7000).hide);
    // The tick counter wraps; the difference does not.
    EXPECT_EQ(TickProgress(0xFFFFFC18u, 2000, 7, 7000).ProgressElapsedS, 3);
    EXPECT_TRUE(TickProgress(0, 0, 0, 100).hide);
}
