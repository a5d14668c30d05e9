// The real QSerialPort road: the simulated board on a pseudo-terminal, the acquisition object
// on QtSerialPort, connected by ConnectBoard as the program does it.

#include "device/Acquisition.h"
#include "device/Commands.h"
#include "serial/ConnectBoard.h"
#include "serial/QtSerialPort.h"
#include "sim/PtyBoardServer.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::WaitUntil;

namespace {
SimOptions instant()
{
    SimOptions o;
    o.timeScale = 0;
    return o;
}
}  // namespace

class PtyEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(server.start(&error)) << error.toStdString();
        RecordingMessages messages;
        ASSERT_TRUE(ConnectBoard(port, FixedPortFinder(server.devicePath()), messages).buttonsEnabled)
            << port.errorText().toStdString();
        QObject::connect(&acq, &Acquisition::drawChart, [this] {
            ++draws;
            acq.ShowChartFinished();
        });
    }

    PtyBoardServer server{instant()};
    QtSerialPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{100, 20}};
    int draws = 0;
};

TEST_F(PtyEndToEnd, OneBlockArrayEqualsTheBoardsWords)
{
    EXPECT_EQ(port.baudRate(), 921600);
    acq.applyStart(Start1MHz(0));
    acq.BeginAcquisition();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    EXPECT_EQ(acq.SampleBuffer.size(), 60000);
    EXPECT_EQ(acq.SampleBuffer, server.expectedBytes(1));
    const QList<QByteArray> c = server.commands();
    ASSERT_GE(c.size(), 3);
    EXPECT_EQ(c[0], QByteArray(")"));
    EXPECT_EQ(c[1], cmd::cmdStart1MHz(0));
    EXPECT_EQ(c[2], QByteArray::fromHex("80e0"));
}

TEST_F(PtyEndToEnd, TemperatureReadingArrives)
{
    QString shown;
    QObject::connect(&acq, &Acquisition::statusText, [&](int panel, const QString& t) {
        if (panel == 2)
            shown = t;
    });
    acq.setDateTimeSource([] { return QStringLiteral("07.12.2026 10:00:00"); });
    acq.requestTemperature();
    ASSERT_TRUE(WaitUntil([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringLiteral("21,0 градусов на 07.12.2026 10:00:00"));
}
