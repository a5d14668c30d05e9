// The board's port going away under QSerialPort: the simulated board on a pseudo-terminal whose
// other end is closed, idle and in the middle of a transfer.

#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/ConnectBoard.h"
#include "serialport/QtSerialPort.h"
#include "sim/PtyBoardServer.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>
#include <memory>

using namespace korvel;
using korvel::testing::Settle;
using korvel::testing::WaitUntil;

namespace {

SimOptions instant()
{
    SimOptions o;
    o.timeScale = 0;
    return o;
}

class PortVanish : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&port, &SerialPort::failed, [this](const QString& why) {
            failures.append(why);
        });
        QObject::connect(&acq, &Acquisition::drawChart, [this] {
            ++draws;
            acq.ShowChartFinished();
        });
        connectTo(SimFaults{});
    }

    void connectTo(const SimFaults& faults)
    {
        server = std::make_unique<PtyBoardServer>(instant());
        server->setFaults(faults);
        QString error;
        ASSERT_TRUE(server->start(&error)) << error.toStdString();
        RecordingMessages messages;
        ASSERT_TRUE(ConnectBoard(port, FixedPortFinder(server->devicePath()), messages).connected());
    }

    void start()
    {
        acq.applyStart(Start1MHz(0));
        acq.BeginAcquisition();
    }

    std::unique_ptr<PtyBoardServer> server;
    QtSerialPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{100, 20}};
    QStringList failures;
    int draws = 0;
};

}  // namespace

TEST_F(PortVanish, WhileIdleThePortFailsOnceAndCloses)
{
    start();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    server->stop();
    ASSERT_TRUE(WaitUntil([&] { return !failures.isEmpty() && !port.isOpen(); }));
    Settle();
    EXPECT_EQ(failures.size(), 1);
    EXPECT_FALSE(failures[0].isEmpty());
    // The data of the finished run is untouched.
    EXPECT_EQ(acq.SampleBuffer(), server->expectedBytes(1));
}

TEST_F(PortVanish, MidTransferNothingIsDrawnAndANewConnectionRecovers)
{
    SimFaults stall;
    stall.dropPackets = {4};  // the transfer waits at the fifth packet when the line goes
    connectTo(stall);
    start();
    ASSERT_TRUE(WaitUntil([&] { return acq.PacketsLeft() == 116; }));
    server->stop();
    ASSERT_TRUE(WaitUntil([&] { return !failures.isEmpty() && !port.isOpen(); }));
    Settle();
    EXPECT_EQ(failures.size(), 1);
    EXPECT_EQ(draws, 0);
    // The four packets received are dropped: the record before the run (none here) is back.
    EXPECT_TRUE(acq.SampleBuffer().isEmpty());
    EXPECT_FALSE(acq.timRx().isActive());
    EXPECT_FALSE(acq.timSendCmd().isActive());

    connectTo(SimFaults{});
    start();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    EXPECT_EQ(acq.SampleBuffer(), server->expectedBytes(1));
    EXPECT_EQ(failures.size(), 1);
}
