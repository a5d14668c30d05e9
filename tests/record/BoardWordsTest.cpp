// What a sample word and a mode command mean, for every reader at once.
#include "device/Commands.h"
#include "record/BoardWords.h"

#include <array>
#include <gtest/gtest.h>
#include <utility>

using namespace korvel;

TEST(BoardWords, ASampleWordIsAReadingAndThreeLines)
{
    EXPECT_EQ(Reading(0x1FFF), 4095);  // bit 12 is nobody's
    const quint16 w = 0xA7FF;          // lines 1 and 3 high; in accelerometer data, channel X
    EXPECT_EQ((std::array{LineHigh(w, 0), LineHigh(w, 1), LineHigh(w, 2), IsAccelX(w)}),
              (std::array{true, false, true, true}));
    const char bytes[] = {'\x34', '\x12', '\xFF', '\x8F'};
    EXPECT_EQ(SampleWordAt(QByteArrayView(bytes, 4), 1), 0x8FFF);
}

TEST(BoardWords, EveryCommandStartsOneKindOfMode)
{
    const std::pair<QByteArray, ModeKind> cases[] = {
        {cmd::cmdStart1MHz(3), ModeKind::Ordinary},
        {cmd::cmdStartFT(2, 4, 10, 20), ModeKind::FT},  // 53h: the trigger bits aside
        {cmd::cmdStartExtF(2), ModeKind::ExternalClock},
        {cmd::cmdSample(), ModeKind::RealTime},
        {cmd::cmdSampleTemp(), ModeKind::RealTimeWithTemperature},
        {QByteArray("\x14\x00", 2), ModeKind::Ordinary},  // real time is the one-byte request
        {cmd::cmdStartADXL(0, 1, true, true), ModeKind::Accelerometer},
        {cmd::cmdStartADXL(1, 1, true, true), ModeKind::Ordinary},  // triggered: 3Ah
        {QByteArray(), ModeKind::Ordinary},
    };
    for (const auto& [command, kind] : cases) {
        EXPECT_EQ(ModeOf(command), kind) << command.toHex().toStdString();
        EXPECT_EQ(IsRealTime(command),
                  kind == ModeKind::RealTime || kind == ModeKind::RealTimeWithTemperature);
    }
}
