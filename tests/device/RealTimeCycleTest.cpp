// The real-time polling chain on its own, against a scripted port: what each poll writes and
// in which order, what a stop in the middle of a poll still lets out, and when the caller is
// asked about the temperature.
#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/RealTimeCycle.h"
#include "serial/ScriptedPort.h"
#include "support/EventLoopWait.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::WaitUntil;

namespace {

const QByteArray Req15 = cmd::cmdSampleTemp();
const QByteArray Req14 = cmd::cmdSample();

struct CycleRig {
    ScriptedPort port;
    Acquisition acq{port};
    bool wantTemperature = true;
    int asked = 0;
    RealTimeCycle cycle{acq, [this] {
                            ++asked;
                            return wantTemperature;
                        }};

    CycleRig()
    {
        port.open(QStringLiteral("ttyUSB0"));
        // Short steps, and a cycle long enough that a second poll never comes on its own.
        cycle.intervals = {1, 600000, 1};
    }
    QList<QByteArray> written() const { return port.writtenCommands(); }
    void pollByHand()
    {
        cycle.timSingleTimer();
        cycle.timAfterSendCTL1Timer();
        cycle.timAfterSendCTL2Timer();
    }
    // Runs the event loop well past the two steps of a poll, so anything still queued has had
    // every chance to go out.
    void settle()
    {
        bool done = false;
        QTimer::singleShot(50, [&] { done = true; });
        ASSERT_TRUE(WaitUntil([&] { return done; }));
    }
};

}  // namespace

TEST(RealTimeCycle, APollWritesTheTemperatureLineThenTheSignalLineThenTheRequest)
{
    CycleRig r;
    r.cycle.applyOutput(OutputLine::Temperature, OutputResult::High);
    r.cycle.applyOutput(OutputLine::Signal, OutputResult::Low);
    for (int i = 0; i < 7; ++i)
        r.acq.countRealTimePoint();
    r.cycle.start();
    EXPECT_TRUE(r.cycle.isRunning());
    EXPECT_EQ(r.acq.recording().RealTimeCount, 0);
    // The first reply is the start's, and is dropped.
    EXPECT_EQ(r.acq.recording().realTimeState, Recording::RealTimeState::AwaitingFirstReply);
    EXPECT_TRUE(r.written().isEmpty());

    ASSERT_TRUE(WaitUntil([&] { return r.written().size() >= 3; }));
    r.settle();
    EXPECT_EQ(r.written(), (QList<QByteArray>{cmd::cmdTOutHigh(), cmd::cmdAOutLow(), Req15}));
    EXPECT_EQ(r.acq.PendingCommand(), Req15);
    EXPECT_EQ(r.acq.ModeCommand(), Req15);
    // Later polls follow at the cycle's interval; the steps of this one are done.
    EXPECT_TRUE(r.cycle.isRunning());
    EXPECT_EQ(r.cycle.timSingle.interval(), 600000);
    EXPECT_FALSE(r.cycle.timAfterSendCTL1.isActive());
    EXPECT_FALSE(r.cycle.timAfterSendCTL2.isActive());

    // A restart waits the first interval again and keeps driving the lines as they were.
    r.cycle.stop();
    EXPECT_FALSE(r.cycle.isRunning());
    r.cycle.start();
    EXPECT_EQ(r.cycle.timSingle.interval(), 1);
    EXPECT_EQ(r.cycle.TOutCommand, cmd::cmdTOutHigh());
    EXPECT_EQ(r.cycle.AOutCommand, cmd::cmdAOutLow());
}

TEST(RealTimeCycle, AStopInsideAPollLetsNothingMoreOut)
{
    CycleRig r;
    r.cycle.applyOutput(OutputLine::Temperature, OutputResult::Low);
    r.cycle.applyOutput(OutputLine::Signal, OutputResult::High);

    // Left alone, a poll started by hand finishes on its timers.
    r.cycle.timSingleTimer();
    r.settle();
    EXPECT_EQ(r.written(), (QList<QByteArray>{cmd::cmdTOutLow(), cmd::cmdAOutHigh(), Req15}));

    // Stopped after the first output command.
    r.port.writes.clear();
    r.acq.clearPending();
    r.acq.loadRecording({});
    r.cycle.timSingleTimer();
    r.cycle.stop();
    r.settle();
    EXPECT_EQ(r.written(), QList<QByteArray>{cmd::cmdTOutLow()});

    // Stopped between the second output command and the request.
    r.port.writes.clear();
    r.cycle.timSingleTimer();
    r.cycle.timAfterSendCTL1Timer();
    r.cycle.stop();
    r.settle();
    EXPECT_EQ(r.written(), (QList<QByteArray>{cmd::cmdTOutLow(), cmd::cmdAOutHigh()}));
    EXPECT_TRUE(cmd::IsIdle(r.acq.PendingCommand()));
    EXPECT_TRUE(r.acq.ModeCommand().isEmpty());
    EXPECT_EQ(r.asked, 1);  // only the poll left alone reached the request
}

TEST(RealTimeCycle, AnUndecidedLineWritesNothingAndHoldKeepsTheLastCommand)
{
    CycleRig r;
    r.pollByHand();
    EXPECT_EQ(r.written(), QList<QByteArray>{Req15});

    r.cycle.applyOutput(OutputLine::Signal, OutputResult::Hold);
    r.cycle.applyOutput(OutputLine::Temperature, OutputResult::Hold);
    EXPECT_TRUE(r.cycle.AOutCommand.isEmpty());
    EXPECT_TRUE(r.cycle.TOutCommand.isEmpty());

    r.cycle.applyOutput(OutputLine::Signal, OutputResult::High);
    EXPECT_TRUE(r.cycle.TOutCommand.isEmpty());  // one line's decision leaves the other alone
    r.port.writes.clear();
    r.pollByHand();
    EXPECT_EQ(r.written(), (QList<QByteArray>{cmd::cmdAOutHigh(), Req15}));

    r.cycle.applyOutput(OutputLine::Temperature, OutputResult::High);
    r.cycle.applyOutput(OutputLine::Signal, OutputResult::Hold);
    r.cycle.applyOutput(OutputLine::Temperature, OutputResult::Low);
    EXPECT_EQ(r.cycle.AOutCommand, cmd::cmdAOutHigh());
    EXPECT_EQ(r.cycle.TOutCommand, cmd::cmdTOutLow());
    r.cycle.applyOutput(OutputLine::Signal, OutputResult::Low);
    EXPECT_EQ(r.cycle.AOutCommand, cmd::cmdAOutLow());
    EXPECT_EQ(r.cycle.TOutCommand, cmd::cmdTOutLow());
}

TEST(RealTimeCycle, TheTemperatureIsAskedAboutWhenTheRequestGoesOut)
{
    CycleRig r;
    r.cycle.start();
    r.cycle.timSingleTimer();
    r.cycle.timAfterSendCTL1Timer();
    EXPECT_EQ(r.asked, 0);

    // Changed after the poll began: the request follows the answer at its own moment.
    r.wantTemperature = false;
    r.cycle.timAfterSendCTL2Timer();
    EXPECT_EQ(r.asked, 1);
    EXPECT_EQ(r.written(), QList<QByteArray>{Req14});
    EXPECT_EQ(r.acq.ModeCommand(), Req14);

    r.wantTemperature = true;
    r.port.writes.clear();
    r.pollByHand();
    EXPECT_EQ(r.written(), QList<QByteArray>{Req15});
    EXPECT_EQ(r.acq.ModeCommand(), Req15);
    r.cycle.stop();
}
