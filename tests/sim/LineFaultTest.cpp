// Faults on the line between the acquisition object and the board: silence, lost and mangled
// packets, stray bytes, a status byte that is not "ready". Each run must end in a known state
// (never a crash or an endless exchange), and a new start must always bring a clean result.

#include "device/Acquisition.h"
#include "device/Commands.h"
#include "serial/ScriptedPort.h"
#include "sim/SimulatedPort.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::cmd;
using korvel::testing::Settle;
using korvel::testing::WaitUntil;

namespace {

struct FaultRig {
    SimulatedPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{20, 5}};
    int draws = 0;

    explicit FaultRig(const SimFaults& faults) : port(instant())
    {
        port.simulator().faults = faults;
        port.open(QStringLiteral("simulated"));
        QObject::connect(&acq, &Acquisition::drawChart, [this] {
            ++draws;
            acq.ShowChartFinished();
        });
    }
    static SimOptions instant()
    {
        SimOptions o;
        o.timeScale = 0;
        return o;
    }
    void start()
    {
        acq.applyStart(Start1MHz(0));
        acq.BeginAcquisition();
    }
    // A clean line again and a new start: the whole block arrives as the board holds it.
    void expectRecovery()
    {
        port.simulator().faults = {};
        const int before = draws;
        start();
        ASSERT_TRUE(WaitUntil([&] { return draws > before; }));
        EXPECT_EQ(acq.SampleBuffer(), port.simulator().expectedBytes(1));
        EXPECT_TRUE(IsIdle(acq.PendingCommand()));
    }
};

}  // namespace

TEST(LineFaults, NoStatusReplyKeepsWaitingWithoutSendingAnything)
{
    SimFaults silent;
    silent.silent = true;
    FaultRig r(silent);
    r.acq.loadRecording({.SampleBuffer = QByteArray(500, '\x33')});
    r.start();
    Settle();
    EXPECT_EQ(r.acq.PacketsLeft(), 1);
    EXPECT_EQ(r.draws, 0);
    EXPECT_EQ(r.acq.SampleBuffer(), QByteArray(500, '\x33'));
    EXPECT_EQ(r.port.simulator().commands(), QList<QByteArray>{cmdStart1MHz(0)});
    r.expectRecovery();
}

TEST(LineFaults, DroppedPacketStallsTheTransferUntilANewStart)
{
    SimFaults drop;
    drop.dropPackets = {3};
    FaultRig r(drop);
    r.start();
    ASSERT_TRUE(WaitUntil([&] { return r.acq.PacketsLeft() == 117; }));
    Settle();
    // Three packets arrived; the fourth was asked for and never came.
    EXPECT_EQ(r.acq.PacketsLeft(), 117);
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1).left(1500));
    EXPECT_EQ(r.draws, 0);
    EXPECT_EQ(r.port.simulator().commands().count(cmdNextPacket()), 3);
    r.expectRecovery();
}

TEST(LineFaults, DroppedPacketRecoveredByReadingTheArrayAgain)
{
    SimFaults drop;
    drop.dropPackets = {60};
    FaultRig r(drop);
    r.start();
    ASSERT_TRUE(WaitUntil([&] { return r.acq.PacketsLeft() == 60; }));
    r.port.simulator().faults = {};
    r.acq.Read();
    ASSERT_TRUE(WaitUntil([&] { return r.draws == 1; }));
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
}

TEST(LineFaults, PacketOfTheWrongLengthOnEveryAttemptKeepsThePreviousArray)
{
    SimFaults shortLast;
    shortLast.packetLengths = {{119, 11}};
    FaultRig r(shortLast);
    QStringList failures;
    QObject::connect(&r.acq, &Acquisition::transferFailed,
                     [&](const QString& m) { failures.append(m); });
    const QByteArray previous(60000, '\x44');
    r.acq.loadRecording({.SampleBuffer = previous});
    r.start();
    ASSERT_TRUE(WaitUntil([&] { return !failures.isEmpty(); }));
    EXPECT_EQ(failures, QStringList{QStringLiteral("Ошибка передачи: пакет 120 из 120, получено 11 байт")});
    EXPECT_EQ(r.port.simulator().commands().count(QByteArray::fromHex("80e0")), 3);
    Settle();
    EXPECT_EQ(r.draws, 0);
    EXPECT_EQ(r.acq.SampleBuffer(), previous);
    r.expectRecovery();
}

TEST(LineFaults, StrayBytesBehindTheStatusOfEveryStart)
{
    SimFaults stray;
    stray.strayAfterStatus = QByteArray(40, '\xee');
    FaultRig r(stray);
    r.start();
    ASSERT_TRUE(WaitUntil([&] { return r.draws == 1; }));
    EXPECT_EQ(r.acq.SampleBuffer(), r.port.simulator().expectedBytes(1));
    r.expectRecovery();
}

// Byte-exact cases on a scripted line: the test decides what arrives in each run.
namespace {

struct ScriptRig {
    ScriptedPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{1000, 1000}};
    int draws = 0;

    ScriptRig()
    {
        port.open(QStringLiteral("ttyUSB0"));
        QObject::connect(&acq, &Acquisition::drawChart, [this] { ++draws; });
        acq.applyStart(Start1MHz(0));
        acq.BeginAcquisition();
    }
    // One run of received bytes, handled as the receive timer would.
    void run(const QByteArray& bytes)
    {
        port.incoming += bytes;
        acq.timRxTimer();
    }
};

QByteArray packet(char fill) { return QByteArray(PacketBytes, fill); }

}  // namespace

TEST(LineFaults, StrayBytesDuringTheTransferHaveTheArrayReadAgain)
{
    ScriptRig r;
    r.run(QByteArray("\x0b"));
    ASSERT_EQ(r.acq.PacketsLeft(), 120);
    r.acq.timSendCmdTimer();
    r.run(packet('\x01'));
    r.run(packet('\x01') + QByteArray(3, '\xee'));  // noise right behind a packet: one run
    EXPECT_EQ(r.acq.PacketsLeft(), 120);
    EXPECT_EQ(r.port.purges, 2);
    r.acq.timSendCmdTimer();
    for (int i = 0; i < 120; ++i)
        r.run(packet('\x02'));
    r.acq.trailingQuietTimer();  // the line stays quiet after the last packet
    EXPECT_EQ(r.draws, 1);
    EXPECT_EQ(r.acq.SampleBuffer().size(), 60000);
    EXPECT_EQ(r.port.writtenCommands().count(QByteArray::fromHex("80e0")), 2);
}

TEST(LineFaults, WrongStatusByteEndsTheExchangeWithoutATransfer)
{
    ScriptRig r;
    r.acq.loadRecording({.SampleBuffer = QByteArray(60000, '\x44')});
    r.run(QByteArray("\x5a\x0b", 2));  // a byte that is neither ready status comes first
    EXPECT_EQ(r.acq.PacketsLeft(), 0);
    EXPECT_EQ(r.draws, 1);
    EXPECT_EQ(r.acq.SampleBuffer(), QByteArray(60000, '\x44'));
    EXPECT_EQ(r.port.writtenCommands(), QList<QByteArray>{cmdStart1MHz(0)});
    EXPECT_FALSE(r.acq.timSendCmd().isActive());
}

TEST(LineFaults, PortGoingAwayStopsTheTimersAndANewStartBeginsAfresh)
{
    ScriptRig r;
    r.run(QByteArray("\x0b"));
    r.acq.timSendCmdTimer();
    r.port.incoming = QByteArray(7, '\x01');  // part of the first packet
    r.acq.VaComm1RxChar();
    ASSERT_TRUE(r.acq.timRx().isActive());
    r.port.vanish();
    EXPECT_FALSE(r.port.isOpen());
    EXPECT_FALSE(r.acq.timRx().isActive());
    EXPECT_FALSE(r.acq.timSendCmd().isActive());
    EXPECT_EQ(r.draws, 0);

    r.port.open(QStringLiteral("ttyUSB0"));
    r.port.incoming.clear();
    r.acq.applyStart(Start1MHz(0));
    r.acq.BeginAcquisition();
    r.run(QByteArray("\x0b"));
    r.acq.timSendCmdTimer();
    for (int i = 0; i < 120; ++i)
        r.run(packet('\x03'));
    r.acq.trailingQuietTimer();
    EXPECT_EQ(r.draws, 1);
    EXPECT_EQ(r.acq.SampleBuffer().size(), 60000);
}
