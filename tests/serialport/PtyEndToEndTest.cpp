// The real QSerialPort road: the simulated board on a pseudo-terminal, the acquisition object
// on QtSerialPort, connected by ConnectBoard as the program does it.

#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/ConnectBoard.h"
#include "serialport/QtSerialPort.h"
#include "sim/PtyBoardServer.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

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
}  // namespace

class PtyEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(server.start(&error)) << error.toStdString();
        RecordingMessages messages;
        ASSERT_TRUE(ConnectBoard(port, FixedPortFinder(server.devicePath()), messages).connected())
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
    EXPECT_EQ(acq.SampleBuffer().size(), 60000);
    EXPECT_EQ(acq.SampleBuffer(), server.expectedBytes(1));
    const QList<QByteArray> c = server.commands();
    ASSERT_GE(c.size(), 3);
    EXPECT_EQ(c[0], QByteArray(")"));
    EXPECT_EQ(c[1], cmd::cmdStart1MHz(0));
    EXPECT_EQ(c[2], QByteArray::fromHex("80e0"));
}

TEST_F(PtyEndToEnd, TemperatureReadingArrives)
{
    QString shown;
    QObject::connect(&acq, &Acquisition::temperatureRead, [&](const QString& t) { shown = t; });
    acq.setDateTimeSource([] { return QStringLiteral("07.12.2026 10:00:00"); });
    acq.requestTemperature();
    ASSERT_TRUE(WaitUntil([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringLiteral("21,0 градусов на 07.12.2026 10:00:00"));
}

TEST_F(PtyEndToEnd, TemperatureReplyOfThreeBytesShowsNothingAndIsCounted)
{
    int shown = 0;
    QObject::connect(&acq, &Acquisition::temperatureRead, [&] { ++shown; });
    SimFaults faults;
    faults.temperatureReplyBytes = 3;
    server.setFaults(faults);
    acq.requestTemperature();
    ASSERT_TRUE(WaitUntil([&] { return acq.lineErrors() == 1; }));
    Settle();
    EXPECT_EQ(shown, 0);
}

TEST_F(PtyEndToEnd, PacketsOfTheWrongLengthEndTheTransferAndKeepThePreviousArray)
{
    QStringList failures;
    QObject::connect(&acq, &Acquisition::transferFailed,
                     [&](const QString& m) { failures.append(m); });
    acq.applyStart(Start1MHz(0));
    acq.BeginAcquisition();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    const QByteArray previous = acq.SampleBuffer();

    // Every attempt to read the array again meets the same fault.
    SimFaults longer, shorter, twice;
    longer.packetLengths = {{7, 502}};
    shorter.packetLengths = {{7, 500}};
    twice.repeatPackets = {7};
    const std::pair<SimFaults, QString> cases[] = {
        {longer, QStringLiteral("Ошибка передачи: пакет 8 из 120, получено 502 байта")},
        {shorter, QStringLiteral("Ошибка передачи: пакет 8 из 120, получено 500 байт")},
        // Where the second copy shows depends on how the line splits it.
        {twice, QStringLiteral("Ошибка передачи: пакет ")},
    };
    for (const auto& [faults, message] : cases) {
        server.setFaults(faults);
        failures.clear();
        acq.Read();
        ASSERT_TRUE(WaitUntil([&] { return !failures.isEmpty(); })) << message.toStdString();
        EXPECT_TRUE(failures.front().startsWith(message)) << failures.front().toStdString();
        Settle();
        EXPECT_EQ(failures.size(), 1);
        EXPECT_EQ(draws, 1);
        EXPECT_EQ(acq.SampleBuffer(), previous);
    }
}

TEST_F(PtyEndToEnd, FloodBehindAPacketOnceIsMadeGoodByReadingTheArrayAgain)
{
    SimFaults flood;
    flood.packetLengths = {{7, 20000}};
    server.setFaults(flood);
    int transfers = 0;
    QObject::connect(&acq, &Acquisition::transferStarted, [&] {
        if (++transfers == 2)
            server.setFaults({});
    });
    acq.applyStart(Start1MHz(0));
    acq.BeginAcquisition();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    EXPECT_EQ(transfers, 2);
    EXPECT_EQ(acq.SampleBuffer(), server.expectedBytes(1));
}

#ifdef KORVEL_CLI_PATH
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

// The same road through the korvel-cli executable, with the --link name.
TEST(KorvelCliSimulate, ServesTheBoardUntilTerminated)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("board"));
    QProcess cli;
    cli.start(QStringLiteral(KORVEL_CLI_PATH),
              {QStringLiteral("simulate"), QStringLiteral("--link"), link,
               QStringLiteral("--time-scale"), QStringLiteral("0")});
    ASSERT_TRUE(cli.waitForStarted());
    ASSERT_TRUE(WaitUntil([&] { return cli.canReadLine(); }));
    const QString device = QString::fromLocal8Bit(cli.readLine()).trimmed();
    EXPECT_TRUE(device.startsWith(QStringLiteral("/dev/")));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);

    QtSerialPort port;
    RecordingMessages messages;
    ASSERT_TRUE(ConnectBoard(port, FixedPortFinder(link), messages).connected());
    Acquisition acq(port, nullptr, AcquisitionIntervals{100, 20});
    int draws = 0;
    QObject::connect(&acq, &Acquisition::drawChart, [&] { ++draws; });
    acq.applyStart(StartFT(0, 1, 5, 5));
    acq.BeginAcquisition();
    ASSERT_TRUE(WaitUntil([&] { return draws == 1; }));
    // Same seed, same start: a twin of the served board holds the same words.
    BoardSimulator twin(instant());
    twin.receive(StartFT(0, 1, 5, 5).command, 0);
    EXPECT_EQ(acq.SampleBuffer(), twin.expectedBytes(1));

    cli.terminate();
    ASSERT_TRUE(cli.waitForFinished());
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(link));
}
#endif
