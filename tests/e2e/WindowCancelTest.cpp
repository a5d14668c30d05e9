// Cancelling a measurement in the window: the board answers after the cancel, and nothing it
// sends for the abandoned run is taken; the next start runs as usual.
#include "app/WindowRig.h"
#include "device/Commands.h"
#include "sim/SimulatedPort.h"
#include "support/EventLoopWait.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// A board that starts measuring only when the test fires the trigger edge, on a short time
// scale, with replies paced at the line's speed so that a transfer can be caught midway.
WindowOptions triggeredAtTheLinesSpeed()
{
    WindowOptions o = OnQuickSimulatedBoard();
    o.sim.edgeDelayMs = -1;
    o.throttle = true;
    return o;
}

struct TriggeredBoard : WindowRig {
    int charts = 0;

    TriggeredBoard() : WindowRig(triggeredAtTheLinesSpeed())
    {
        QObject::connect(&acq(), &Acquisition::drawChart, [this] { ++charts; });
        f().btExtrn->click();  // starts wait for the rising edge
    }
    qsizetype commands() { return board().commands().size(); }
    // Nothing is waited for any more, and the window says so.
    void expectCancelled()
    {
        EXPECT_EQ(w().statusPanel(0)->text(), QStringLiteral("ИЗМЕРЕНИЕ ОТМЕНЕНО"));
        EXPECT_TRUE(f().Panel1->isHidden());
        EXPECT_FALSE(w().timer2().isActive());
        EXPECT_FALSE(acq().timRx().isActive());
        EXPECT_FALSE(acq().timSendCmd().isActive());
        EXPECT_TRUE(cmd::IsIdle(acq().PendingCommand()));
    }
};

}  // namespace

TEST(WindowCancel, WhatTheBoardSendsAfterTheCancelChangesNothingAndTheNextStartRuns)
{
    TriggeredBoard s;
    const QByteArray before = s.acq().SampleBuffer();

    // Esc while the board waits for its edge; then it measures and reports ready.
    s.f().bt1MHz->click();
    QTest::keyClick(s.window.get(), Qt::Key_Escape);
    s.expectCancelled();
    const qsizetype started = s.commands();
    s.simulated->fireEdge();
    Settle(200);
    EXPECT_EQ(s.commands(), started);  // no array was asked for
    EXPECT_EQ(s.acq().SampleBuffer(), before);
    EXPECT_EQ(s.charts, 0);
    s.expectCancelled();

    // The panel's button halfway through a transfer; the packet under way arrives after it.
    s.f().bt07MHz->click();
    s.simulated->fireEdge();
    ASSERT_TRUE(WaitUntil([&] { return s.acq().SampleBuffer().size() >= 10 * 500; }));
    ASSERT_FALSE(s.f().Panel1->isHidden());
    s.f().btCancelRun->click();
    s.expectCancelled();
    const QByteArray partial = s.acq().SampleBuffer();
    const qsizetype requested = s.commands();
    Settle(200);
    EXPECT_EQ(s.acq().SampleBuffer(), partial);
    EXPECT_EQ(s.commands(), requested);
    EXPECT_EQ(s.charts, 0);

    s.f().bt1MHz->click();
    s.simulated->fireEdge();
    ASSERT_TRUE(WaitUntil([&] { return s.charts == 1; }));
    EXPECT_EQ(s.acq().SampleBuffer(), s.board().expectedBytes(1));
}
