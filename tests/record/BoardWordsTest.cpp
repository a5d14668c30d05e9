// What a sample word and a mode command mean, for every reader at once.
#include "device/Commands.h"
#include "record/BoardWords.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(BoardWords, ASampleWordIsAReadingAndThreeLines)
{
    EXPECT_EQ(Reading(0xE123), 0x123);
    EXPECT_EQ(Reading(0x1FFF), 4095);  // bit 12 is nobody's
    const quint16 w = 0xA7FF;          // lines 1 and 3 high
    EXPECT_TRUE(LineHigh(w, 0));
    EXPECT_FALSE(LineHigh(w, 1));
    EXPECT_TRUE(LineHigh(w, 2));
    EXPECT_TRUE(IsAccelX(w));
    const char bytes[] = {'\x34', '\x12', '\xFF', '\x8F'};
    EXPECT_EQ(SampleWordAt(QByteArrayView(bytes, 4), 1), 0x8FFF);
}

TEST(BoardWords, EveryCommandStartsOneKindOfMode)
{
    const struct {
        QByteArray command;
        ModeKind kind;
    } cases[] = {
        {cmd::cmdStart1MHz(3), ModeKind::Ordinary},
        {cmd::cmdStart07MHz(0), ModeKind::Ordinary},
        {cmd::cmdStartAlt(), ModeKind::Ordinary},
        {cmd::cmdStartFT(2, 4, 10, 20), ModeKind::FT},  // 53h: the trigger bits aside
        {cmd::cmdStartExtF(2), ModeKind::ExternalClock},
        {cmd::cmdSample(), ModeKind::RealTime},
        {cmd::cmdSampleTemp(), ModeKind::RealTimeWithTemperature},
        {QByteArray("\x14\x00", 2), ModeKind::Ordinary},  // real time is the one-byte request
        {cmd::cmdStartADXL(0, 1, true, true), ModeKind::Accelerometer},
        {cmd::cmdStartADXL(1, 1, true, true), ModeKind::Ordinary},  // triggered: 3Ah
        {cmd::cmdTemperature(), ModeKind::Ordinary},
        {QByteArray(), ModeKind::Ordinary},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModeOf(c.command), c.kind) << c.command.toHex().toStdString();
        EXPECT_EQ(IsRealTime(c.command), c.kind == ModeKind::RealTime
                                             || c.kind == ModeKind::RealTimeWithTemperature);
    }
}
