#include "device/OutputRules.h"

#include "text/NumberFormat.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

OutputRule rule(int c1, double on, int l1, int c2, double off, int l2)
{
    OutputRule r;
    r.condition1 = c1;
    r.condition2 = c2;
    r.level1 = l1;
    r.level2 = l2;
    r.On = on;
    r.Off = off;
    r.onText = FormatFixed(on, 1);
    r.offText = FormatFixed(off, 1);
    return r;
}

enum { Gt, Ge, Lt, Le };
enum { V0, V5 };

OutputResult decide(const OutputRule& r, double v)
{
    return DecideOutput(OutputLine::Temperature, v, r).result;
}

}  // namespace

TEST(DecideOutput, DefaultTemperatureConditionsHoldAtRoomTemperature)
{
    const OutputRule r = rule(Ge, 155, V5, Le, -55, V0);
    const OutputDecision d = DecideOutput(OutputLine::Temperature, 22.0, r);
    EXPECT_EQ(d.result, OutputResult::Hold);
    EXPECT_FALSE(d.level2ForcedToLevel1);
    EXPECT_EQ(d.summary,
              QStringLiteral("если T°C>=155,0: на XP2/7 +5В, T°C<=-55,0: на XP2/7 0В"));
    EXPECT_TRUE(OutputIndicatorCaption(OutputLine::Temperature, d.result).isEmpty());
}

TEST(DecideOutput, SeparateConditionsSwitchWithAHoldBetween)
{
    const OutputRule r = rule(Lt, 20, V5, Gt, 22, V0);
    EXPECT_EQ(decide(r, 19.5), OutputResult::High);
    EXPECT_EQ(decide(r, 22.5), OutputResult::Low);
    EXPECT_EQ(decide(r, 21.0), OutputResult::Hold);
    EXPECT_EQ(decide(r, 20.0), OutputResult::Hold);
    EXPECT_EQ(OutputIndicatorCaption(OutputLine::Temperature, OutputResult::High),
              QStringLiteral("T:+5В"));
    EXPECT_EQ(OutputIndicatorCaption(OutputLine::Signal, OutputResult::Low), QStringLiteral("A:0В"));
}

TEST(DecideOutput, BandCaseForcesTheSecondLevelAndNamesTheLowerThresholdFirst)
{
    const OutputRule r = rule(Gt, 20, V5, Lt, 30, V0);
    const OutputDecision d = DecideOutput(OutputLine::Temperature, 25, r);
    EXPECT_EQ(d.result, OutputResult::High);
    EXPECT_TRUE(d.level2ForcedToLevel1);
    EXPECT_EQ(d.level2, V5);
    EXPECT_EQ(d.summary, QStringLiteral("если T°C>20,0 или <30,0: на XP2/7 +5В"));
    EXPECT_EQ(decide(r, 15), OutputResult::Low);
    EXPECT_EQ(decide(r, 35), OutputResult::Low);
    EXPECT_EQ(decide(r, 20), OutputResult::Low);

    // The same band written the other way round still lists ">" 20 first.
    const OutputRule swapped = rule(Lt, 30, V5, Gt, 20, V0);
    const OutputDecision s = DecideOutput(OutputLine::Signal, 25, swapped);
    EXPECT_EQ(s.summary, QStringLiteral("если сигнал>20,0 или <30,0: на XP2/8 +5В"));
    EXPECT_EQ(s.result, OutputResult::High);
}

TEST(DecideOutput, SameLevelsDriveWhenEitherHolds)
{
    const OutputRule r = rule(Ge, 25, V5, Le, 15, V5);
    EXPECT_EQ(decide(r, 26), OutputResult::High);
    EXPECT_EQ(decide(r, 15), OutputResult::High);
    EXPECT_EQ(decide(r, 20), OutputResult::Low);
}

TEST(DecideOutput, SecondConditionWinsWhenBothHold)
{
    const OutputRule r = rule(Gt, 10, V5, Gt, 20, V0);
    EXPECT_EQ(decide(r, 25), OutputResult::Low);
    EXPECT_EQ(decide(r, 15), OutputResult::High);
    const OutputDecision d = DecideOutput(OutputLine::Signal, 25, r);
    EXPECT_EQ(d.summary, QStringLiteral("сигнал>10,0: на XP2/8 +5В, сигнал>20,0: на XP2/8 0В"));
}

TEST(DecideOutput, UnselectedConditionOrLevelNeverDrives)
{
    EXPECT_FALSE(CheckCondition(5, 1, -1));
    EXPECT_FALSE(CheckCondition(5, 1, 4));
    EXPECT_EQ(decide(rule(-1, 0, V5, -1, 0, V0), 3), OutputResult::Hold);
    EXPECT_EQ(decide(rule(Gt, 0, -1, Lt, -10, V0), 3), OutputResult::Hold);
}
