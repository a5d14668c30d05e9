// Every start of the window, from its button to a complete SampleBuffer, against the
// simulated board on a short time scale. The board's own record of the commands it took is
// checked as well.
#include "app/WindowRig.h"
#include "chartview/ChartView.h"
#include "device/Commands.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct SimWindow : WindowRig {
    SimWindow() : WindowRig(OnQuickSimulatedBoard()) {}

    // Waits for the whole array the last start asked for.
    bool arrayComplete(int blocks)
    {
        return WaitUntil([&] {
            return acq().SampleBuffer().size() == blocks * 60000 && acq().PacketsLeft() == 0;
        });
    }
    // The commands after the greeting: the start, the array request, then one "next" per
    // further packet.
    void expectExchange(const QByteArray& start, int blocks)
    {
        const QList<QByteArray> c = board().commands();
        ASSERT_EQ(c.size(), 1 + 2 + blocks * 120 - 1);
        EXPECT_EQ(c[0], QByteArray(")"));
        EXPECT_EQ(c[1], start);
        EXPECT_EQ(c[2], QByteArray(1, '\x80') + start.at(1));
        for (qsizetype i = 3; i < c.size(); ++i)
            ASSERT_EQ(c[i], cmd::cmdNextPacket()) << i;
    }
};

}  // namespace

TEST(WindowMeasurement, OneMegahertz)
{
    SimWindow s;
    s.f().bt1MHz->click();
    ASSERT_TRUE(s.arrayComplete(1));
    EXPECT_EQ(s.acq().SampleBuffer(), s.board().expectedBytes(1));
    s.expectExchange(QByteArray::fromHex("11e0"), 1);
}

TEST(WindowMeasurement, PointSevenMegahertzFillsTheWholeMemory)
{
    SimWindow s;
    s.f().bt07MHz->click();
    ASSERT_TRUE(s.arrayComplete(8));
    EXPECT_EQ(s.acq().SampleBuffer().size(), 480000);
    EXPECT_EQ(s.acq().SampleBuffer(), s.board().expectedBytes(8));
    s.expectExchange(QByteArray::fromHex("1200"), 8);
}

TEST(WindowMeasurement, FrequencyWindowStartAt2400HzOneBlock)
{
    SimWindow s;
    ASSERT_TRUE(s.activate());
    s.f().btChooseF->click();
    s.f().seSamples->setValue(30000);
    s.focus(s.f().seF);
    s.f().seF->selectAll();
    QTest::keyClick(s.f().seF, Qt::Key_Backspace);
    QTest::keyClicks(s.f().seF, QStringLiteral("2400"));
    ASSERT_EQ(s.w().ftCalculator().divisors(), (DivisorPair{12, 157}));

    s.f().btStart->click();
    ASSERT_TRUE(s.arrayComplete(1));
    EXPECT_EQ(s.acq().SampleBuffer().size(), 60000);
    EXPECT_EQ(s.acq().SampleBuffer(), s.board().expectedBytes(1));
    // 0x13, block code E0, d1 = 12, d2 = 157, then the low byte of their sum.
    s.expectExchange(QByteArray::fromHex("13e00c9d9c"), 1);
}

TEST(WindowMeasurement, ExternalClockTwoBlocks)
{
    SimWindow s;
    s.f().seSamplesFExtrn->setValue(60000);
    s.f().btStartFExtrn->click();
    ASSERT_TRUE(s.arrayComplete(2));
    EXPECT_EQ(s.acq().SampleBuffer().size(), 120000);
    EXPECT_EQ(s.acq().SampleBuffer(), s.board().expectedBytes(2));
    s.expectExchange(QByteArray::fromHex("10c0d0"), 2);
}

TEST(WindowMeasurement, TransferThatFailsSaysSoAndKeepsThePreviousChart)
{
    SimWindow s;
    const QCPGraph* series = s.f().Chart1->Series1();
    s.f().bt1MHz->click();
    ASSERT_TRUE(WaitUntil([&] { return series->dataCount() == 30000; }));
    const QByteArray buffer = s.acq().SampleBuffer();
    const double value = series->data()->at(12345)->value;

    // Every attempt of the next run gets its eighth packet one byte short.
    s.board().faults.packetLengths = {{7, 500}};
    s.f().bt1MHz->click();
    ASSERT_TRUE(WaitUntil([&] { return !s.messages.said.isEmpty(); }));
    EXPECT_EQ(s.messages.texts(),
              QStringList{QStringLiteral("Ошибка передачи: пакет 8 из 120, получено 500 байт")});
    EXPECT_EQ(s.acq().SampleBuffer(), buffer);
    ASSERT_EQ(series->dataCount(), 30000);
    EXPECT_EQ(series->data()->at(12345)->value, value);
}
