// Whole exchanges between the acquisition object and the in-process simulated board.

#include "device/Acquisition.h"
#include "device/Commands.h"
#include "sim/SimulatedPort.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::cmd;
using korvel::testing::Settle;
using korvel::testing::WaitUntil;

namespace {

struct SimRig {
    SimulatedPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{20, 5}};
    int draws = 0;

    explicit SimRig(SimOptions o = fast()) : port(o)
    {
        port.open(QStringLiteral("simulated"));
        QObject::connect(&acq, &Acquisition::drawChart, [this] {
            ++draws;
            acq.ShowChartFinished();
        });
    }

    static SimOptions fast()
    {
        SimOptions o;
        o.timeScale = 0;
        return o;
    }

    void start(const ModeStart& s)
    {
        acq.applyStart(s);
        acq.BeginAcquisition();
    }

    bool runToChart(int draw = 1) { return WaitUntil([&] { return draws >= draw; }); }
};

}  // namespace

TEST(SimulatedRun, OneMegahertzRunEqualsTheBoardsWords)
{
    SimRig r;
    r.start(Start1MHz(0));
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
    const QList<QByteArray> c = r.port.simulator().commands();
    ASSERT_EQ(c.size(), 2 + 119);
    EXPECT_EQ(c[0], cmdStart1MHz(0));
    EXPECT_EQ(c[1], QByteArray::fromHex("80e0"));
    EXPECT_TRUE(IsIdle(r.acq.PendingCommand()));
}

TEST(SimulatedRun, EightBlocksAndAReadAfterwards)
{
    SimRig r;
    r.start(Start07MHz(0));
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(r.acq.SampleBuffer().size(), 480000);
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(8));

    Recording emptied = r.acq.recording();
    emptied.SampleBuffer.clear();
    r.acq.loadRecording(emptied);
    r.acq.Read();
    ASSERT_TRUE(r.runToChart(2));
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(8));
}

TEST(SimulatedRun, AccelerometerTwoChannelsKeepsTheXMarks)
{
    SimRig r;
    Acquisition& a = r.acq;
    r.start(StartADXL(0, 0, true, true, 21).start);
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(a.AccelPeriodTicks(), 10322);
    EXPECT_EQ(a.SampleBuffer(), r.port.simulator().expectedBytes(1));
}

TEST(SimulatedRun, TriggeredAccelerometerIsReorderedLikeAdcData)
{
    SimRig r;
    r.start(StartADXL(2, 1, true, false, 21).start);
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(2));
    EXPECT_EQ(r.acq.recording().AccelPeriod, 0.0007);
}

TEST(SimulatedRun, ExternalEdgeStartsTheMeasurement)
{
    SimOptions o = SimRig::fast();
    o.edgeDelayMs = -1;
    SimRig r(o);
    r.start(Start1MHz(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(r.acq.PacketsLeft(), 1);
    r.port.fireEdge();
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
}

TEST(SimulatedRun, StrayBytesBeforeTheTransferAreDiscarded)
{
    SimRig r;
    r.port.simulator().faults.strayAfterStatus = QByteArray::fromHex("eeeeee");
    r.start(StartFT(0, 1, 10, 10));
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
}

TEST(SimulatedRun, ShortPacketOnceIsMadeGoodByReadingTheArrayAgain)
{
    SimRig r;
    r.port.simulator().faults.packetLengths = {{5, 201}};
    int transfers = 0;
    QObject::connect(&r.acq, &Acquisition::transferStarted, [&] {
        if (++transfers == 2)
            r.port.simulator().faults = {};
    });
    r.start(Start1MHz(0));
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(transfers, 2);
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
}

TEST(SimulatedRun, RealTimeRepliesFollowTheBoard)
{
    SimRig r;
    int replies = 0;
    QObject::connect(&r.acq, &Acquisition::realTimeReply, [&](bool) {
        ++replies;
        r.acq.countRealTimePoint();  // as the chart does after adding the point
    });
    r.acq.beginRealTimeRecord();
    for (int i = 0; i < 3; ++i) {
        r.acq.sendRealTimeRequest(true);
        // The first reply is the start's: it is dropped and counts nothing.
        ASSERT_TRUE(WaitUntil([&] {
            return r.acq.recording().realTimeState == Recording::RealTimeState::Counting
                && r.acq.recording().RealTimeCount == i;
        }));
        if (i > 0) {
            ASSERT_TRUE(WaitUntil([&] { return replies == i; }));
        }
    }
    EXPECT_EQ(replies, 2);
    EXPECT_EQ(r.acq.recording().RealTimeCount, 2);
    EXPECT_NEAR(r.acq.CurrentTemperature(), 21.0, 3.1);
}

TEST(SimulatedRun, CancelDropsWhatTheBoardStillSendsAndTheNextStartWorks)
{
    SimOptions slow = SimRig::fast();
    slow.timeScale = 2;  // the status comes about 60 ms after the start
    SimRig r(slow);
    const QByteArray before(500, '\x33');
    r.acq.loadRecording({.SampleBuffer = before, .ModeCommand = cmdStart07MHz(0)});

    // Cancelled while the board measures: its status arrives afterwards.
    r.start(Start1MHz(0));
    r.acq.Cancel();
    Settle();
    // Cancelled right after the array request: its first packet arrives afterwards. The
    // cancel brought the loaded record back, so "Read" asks for the array under its mode.
    QObject::connect(&r.acq.timSendCmd(), &QTimer::timeout, &r.acq, [&] { r.acq.Cancel(); },
                     Qt::SingleShotConnection);
    r.acq.Read();
    Settle();

    EXPECT_EQ(r.draws, 0);
    EXPECT_EQ(r.acq.SampleBuffer(), before);
    EXPECT_EQ(r.acq.PacketsLeft(), 0);
    EXPECT_TRUE(IsIdle(r.acq.PendingCommand()));
    EXPECT_FALSE(r.acq.timRx().isActive());
    EXPECT_FALSE(r.acq.timSendCmd().isActive());
    EXPECT_EQ(r.port.bytesWaiting(), 0);
    EXPECT_EQ(r.port.simulator().commands(),
              (QList<QByteArray>{cmdStart1MHz(0), cmdSendArray(cmdStart07MHz(0))}));

    r.start(Start1MHz(0));
    ASSERT_TRUE(r.runToChart());
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
}

TEST(SimulatedRun, TheArrayIsTakenOnAQuietLineNotAfterTheReplyTimersWait)
{
    // The reply timer gathers short replies only; were it to decide that the line stayed quiet
    // after the last packet, this array would wait ten minutes.
    SimulatedPort port(SimRig::fast());
    port.open(QStringLiteral("simulated"));
    Acquisition acq{port, nullptr, AcquisitionIntervals{600000, 5}};
    int draws = 0;
    QObject::connect(&acq, &Acquisition::drawChart, [&] { ++draws; });
    acq.loadRecording({.ModeCommand = cmdStart07MHz(0), .BlockCount = 2,
                       .SamplePeriod = SamplePeriodForTicks(21)});
    acq.Read();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    EXPECT_EQ(acq.SampleBuffer(), port.simulator().expectedBytes(2));
    EXPECT_EQ(acq.BlockCount(), 2);
    EXPECT_DOUBLE_EQ(acq.SamplePeriod(), SamplePeriodForTicks(21));
}
