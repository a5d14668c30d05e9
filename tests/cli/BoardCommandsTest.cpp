// The board subcommands end to end against the simulated board: in-process through a lent
// port, over a pseudo-terminal through QSerialPort, and as the built program.

#include "CliTestSupport.h"
#include "chart/Scaling.h"
#include "cli/ArrayRun.h"
#include "cli/BoardSession.h"
#include "cli/Options.h"
#include "cli/RealTimeRun.h"
#include "cli/Subcommands.h"
#include "device/Commands.h"
#include "device/ModeStarts.h"
#include "files/DataFileIo.h"
#include "files/TextExport.h"
#include "settings/Settings.h"
#include "serial/ScriptedPort.h"
#include "sim/PtyBoardServer.h"
#include "support/EventLoopWait.h"
#include "timing/Divisors.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>

using namespace korvel;
using namespace korvel::cli;
using korvel::testing::LentPort;
using korvel::testing::RunCliProgram;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A temporary folder with a settings file and an in-process board lent to every subcommand.
class BoardCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimOptions o;
        o.timeScale = 0;
        board = std::make_unique<SimulatedPort>(o);
        SetBoardPortFactory([this](const LinkOptions&) { return std::make_unique<LentPort>(*board); });
        settings.cbXscale = 1;  // ms
        settings.eYTitle = QStringLiteral("Давление, кПа");
        RecordingMessages m;
        ASSERT_TRUE(SaveSettings(ini(), settings, m));
    }
    void TearDown() override { SetBoardPortFactory({}); }

    QString ini() const { return dir.filePath(QStringLiteral("Korvel.ini")); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    int run(int (*sub)(const QStringList&), QStringList args)
    {
        args.prepend(QStringLiteral("korvel-cli"));
        args << QStringLiteral("--simulate") << QStringLiteral("--settings") << ini();
        return sub(args);
    }

    // What the window's save button writes for an array of these words and this start.
    QByteArray expectedFile(const QByteArray& words, const ModeStart& start, const QString& comment = {})
    {
        const Recording record{
            .SampleBuffer = words, .BlockCount = start.BlockCount, .SamplePeriod = start.SamplePeriod};
        DataFileSaveInput in;
        const ScaleCoefficients s = GetScaleParams(ScaleInputsFrom(settings, QStringLiteral("мс"))).coefficients;
        in.ScaleK = s.ScaleK;
        in.ScaleShift = s.ScaleShift;
        in.AxisXName = QStringLiteral("Время, мс");
        in.eYTitle = settings.eYTitle;
        in.comment = comment;
        return BuildDataFile(record, in).output->bytes;
    }

    QTemporaryDir dir;
    SettingsValues settings;
    std::unique_ptr<SimulatedPort> board;
};

}  // namespace

TEST_F(BoardCommands, OneMegahertzFileEqualsTheSaveButtons)
{
    const QString out = path("a.dtw");
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("1mhz"), QStringLiteral("--trigger"),
                               QStringLiteral("computer"), QStringLiteral("--comment"),
                               QStringLiteral("стенд 3"), QStringLiteral("-o"), out}),
              ExitOk);
    const QList<QByteArray> c = board->simulator().commands();
    ASSERT_GE(c.size(), 3);
    EXPECT_EQ(c[0], cmd::cmdConnect());
    EXPECT_EQ(c[1], cmd::cmdStart1MHz(0));
    EXPECT_EQ(c[2], QByteArray::fromHex("80e0"));
    EXPECT_EQ(ReadAll(out), expectedFile(board->simulator().expectedBytes(1), Start1MHz(0),
                                         QStringLiteral("стенд 3")));
}

TEST_F(BoardCommands, FtStartSendsTheCalculatorsDivisors)
{
    const QString out = path("ft.dtw");
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--freq"),
                               QStringLiteral("100000"), QStringLiteral("--blocks"), QStringLiteral("2"),
                               QStringLiteral("-o"), out}),
              ExitOk);
    const QByteArray start = board->simulator().commands().at(1);
    ASSERT_EQ(start.size(), 5);
    const int d1 = quint8(start[2]) ? quint8(start[2]) : 256;
    const int d2 = quint8(start[3]) ? quint8(start[3]) : 256;
    EXPECT_EQ(start, cmd::cmdStartFT(0, 2, d1, d2));
    // The pair really gives the typed rate, to within the board's clock steps.
    const int ticks = PeriodTicks({quint16(d1), quint16(d2)});
    EXPECT_NEAR(14745600.0 / ticks, 100000.0, 1000.0);
    EXPECT_EQ(ReadAll(out), expectedFile(board->simulator().expectedBytes(2), StartFT(0, 2, d1, d2)));
}

TEST_F(BoardCommands, WrongUsageAndImpossibleInputsAreTold)
{
    EXPECT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("2mhz"), QStringLiteral("-o"), path("x.dtw")}),
              ExitUsage);
    EXPECT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("1mhz")}), ExitUsage);
    EXPECT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--freq"),
                               QStringLiteral("10"), QStringLiteral("-o"), path("x.dtw")}),
              ExitUsage);
    EXPECT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("extf"), QStringLiteral("--samples"),
                               QStringLiteral("1000"), QStringLiteral("-o"), path("x.dtw")}),
              ExitUsage);
    // Nothing reached the board for any of them.
    EXPECT_TRUE(board->simulator().commands().isEmpty());
    EXPECT_FALSE(QFile::exists(path("x.dtw")));
}

TEST_F(BoardCommands, TextNameGivesTheExportOfEveryPoint)
{
    const QString out = path("a.txt");
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("07mhz"), QStringLiteral("-o"), out}), ExitOk);
    const QByteArray text = ReadAll(out);
    EXPECT_EQ(text.count('\r'), 5 + 240000);
    EXPECT_FALSE(text.contains('\n'));
    TextExportInput in;
    const ScaleCoefficients s = GetScaleParams(ScaleInputsFrom(settings, QStringLiteral("мс"))).coefficients;
    in.ScaleK = s.ScaleK;
    in.ScaleShift = s.ScaleShift;
    in.eYTitle = settings.eYTitle;
    in.AxisXName = QStringLiteral("Время, мс");
    in.last = 240000 - 1;
    EXPECT_EQ(text, BuildTextExport({.SampleBuffer = board->simulator().expectedBytes(8)}, in).bytes);
}

TEST_F(BoardCommands, AccelerometerAndExternalClockStarts)
{
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("adxl"), QStringLiteral("--channels"),
                               QStringLiteral("y"), QStringLiteral("-o"), path("ax.txt")}),
              ExitOk);
    EXPECT_EQ(board->simulator().commands().at(1), QByteArray::fromHex("1ae002"));
    // The accelerometer is always saved as a data file, whatever the name says.
    const DataFileLoadResult ax = LoadDataFile(path("ax.txt"));
    ASSERT_TRUE(ax.file);
    EXPECT_EQ(ax.file->Variant, VariantAccelerometer);

    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("extf"), QStringLiteral("--ext-freq"),
                               QStringLiteral("50000"), QStringLiteral("--samples"), QStringLiteral("60000"),
                               QStringLiteral("-o"), path("ext.dtw")}),
              ExitOk);
    EXPECT_TRUE(board->simulator().commands().contains(cmd::cmdStartExtF(2)));
    const DataFileLoadResult ext = LoadDataFile(path("ext.dtw"));
    ASSERT_TRUE(ext.file);
    EXPECT_EQ(ext.file->record.SamplePeriod, 20.0);
    EXPECT_EQ(ext.file->record.SampleBuffer, board->simulator().expectedBytes(2));
}

TEST_F(BoardCommands, ReadFetchesTheMemoryAgain)
{
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("1mhz"), QStringLiteral("-o"), path("m.dtw")}), ExitOk);
    ASSERT_EQ(run(RunRead, {QStringLiteral("--blocks"), QStringLiteral("1"), QStringLiteral("-o"), path("r.dtw")}), ExitOk);
    EXPECT_EQ(board->simulator().commands().count(QByteArray::fromHex("80e0")), 2);
    const DataFileLoadResult r = LoadDataFile(path("r.dtw"));
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.SampleBuffer, LoadDataFile(path("m.dtw")).file->record.SampleBuffer);
}

TEST_F(BoardCommands, SilentBoardEndsAfterTheLimitWithAMessage)
{
    board->simulator().faults.silent = true;
    board->open(QStringLiteral("simulated"));
    Acquisition acq(*board);
    ArrayRunLimits limits;
    limits.graceMs = 300;
    QString error;
    EXPECT_FALSE(RunArray(acq, [&] {
        acq.applyStart(Start1MHz(0));
        acq.BeginAcquisition();
    }, limits, false, nullptr, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Плата АЦП не ответила")));
    EXPECT_TRUE(cmd::IsIdle(acq.PendingCommand()));
}

TEST_F(BoardCommands, TheLimitIsTheBoardsSilenceNotTheLengthOfTheRun)
{
    // At the line's pace two blocks take 1.4 s, past this limit, with no pause near it.
    board->setThrottle(true);
    board->open(QStringLiteral("simulated"));
    Acquisition acq(*board);
    ArrayRunLimits limits;
    limits.graceMs = 1000;
    QString error;
    const auto read = [&] {
        acq.loadRecording({.ModeCommand = cmd::cmdStart07MHz(0), .BlockCount = 2,
                           .SamplePeriod = SamplePeriodForTicks(21)});
        acq.Read();
    };
    ASSERT_TRUE(RunArray(acq, read, limits, false, nullptr, &error)) << error.toStdString();
    EXPECT_EQ(acq.SampleBuffer(), board->simulator().expectedBytes(2));
    EXPECT_EQ(acq.BlockCount(), 2);
    EXPECT_DOUBLE_EQ(acq.SamplePeriod(), SamplePeriodForTicks(21));

    // --timeout holds mid-transfer too, and the message gives the silence it waited.
    board->simulator().faults.dropPackets = {3};
    limits.answerTimeoutMs = 300;
    limits.graceMs = 30000;
    EXPECT_FALSE(RunArray(acq, read, limits, false, nullptr, &error));
    const QString prefix = QStringLiteral("Плата АЦП не ответила за ");
    ASSERT_TRUE(error.startsWith(prefix)) << error.toStdString();
    const double seconds = error.mid(prefix.size()).section(QLatin1Char(' '), 0, 0)
                               .replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    EXPECT_GE(seconds, 0.3);
    EXPECT_LT(seconds, 3.0);
}

TEST_F(BoardCommands, TemperatureJsonGivesTheSensorsExactReading)
{
    // The sensor's word 0x0191: 401 sixteenths of a degree.
    SetBoardPortFactory([](const LinkOptions&) {
        auto port = std::make_unique<ScriptedPort>();
        ScriptedPort* p = port.get();
        p->onWrite = [p](const QByteArray& bytes) {
            if (bytes == cmd::cmdTemperature())
                p->feedLater(QByteArray::fromHex("9101"));
        };
        return port;
    });
    ::testing::internal::CaptureStdout();
    const int rc = RunTemperature({QStringLiteral("korvel-cli"), QStringLiteral("temperature"),
                                   QStringLiteral("--simulate"), QStringLiteral("--json")});
    const QJsonObject j =
        QJsonDocument::fromJson(QByteArray::fromStdString(::testing::internal::GetCapturedStdout())).object();
    ASSERT_EQ(rc, ExitOk);
    EXPECT_EQ(j.value(QStringLiteral("temperature_c")).toDouble(), 25.0625);
    EXPECT_TRUE(j.value(QStringLiteral("text")).toString().startsWith(QStringLiteral("25"))) << j.value(QStringLiteral("text")).toString().toStdString();
}

TEST_F(BoardCommands, RealTimeRunSendsTheDecidedOutputsBeforeEachRequest)
{
    // Two conditions that always hold, both with +5 V: XP2/8 goes high on every decision.
    // The threshold's sign follows the coefficient so it lies below every ADC value.
    const double K = GetScaleParams(ScaleInputsFrom(settings, QStringLiteral("с"))).coefficients.ScaleK;
    settings.eAOn = settings.eAOff = K > 0 ? QStringLiteral("-100000000") : QStringLiteral("100000000");
    settings.cbACondition1 = settings.cbACondition2 = 1;
    settings.cbALevel1 = settings.cbALevel2 = 1;
    board->open(QStringLiteral("simulated"));
    Acquisition acq(*board, nullptr, AcquisitionIntervals{20, 5});
    RealTimeRun run(acq, settings, true, 60);
    run.start();
    ASSERT_TRUE(korvel::testing::WaitUntil([&] { return acq.recording().RealTimeCount >= 3; }));
    run.stop();
    const QList<QByteArray> c = board->simulator().commands();
    // Until a reply has been decided on, the request goes alone; from then on the decided
    // output precedes every request, and the temperature line, never decided, gets nothing.
    const qsizetype firstOutput = c.indexOf(cmd::cmdAOutHigh());
    ASSERT_GE(firstOutput, 2);  // the first reply is dropped, so two requests go alone
    for (qsizetype i = 0; i < c.size(); ++i) {
        const bool outputSlot = i >= firstOutput && (i - firstOutput) % 2 == 0;
        EXPECT_EQ(c[i], outputSlot ? cmd::cmdAOutHigh() : cmd::cmdSampleTemp()) << i;
    }
    EXPECT_EQ(board->simulator().signalLineHigh(), std::optional<bool>(true));
    EXPECT_EQ(run.cycle().AOutCommand, cmd::cmdAOutHigh());
    EXPECT_TRUE(run.cycle().TOutCommand.isEmpty());  // room temperature holds the line
}

TEST_F(BoardCommands, RealtimeRecordingIsSavedWithItsTemperature)
{
    // Faster polling than the receiver's 500 ms gathering would merge replies.
    EXPECT_EQ(run(RunRealtime, {QStringLiteral("--seconds"), QStringLiteral("1"), QStringLiteral("--interval"),
                                QStringLiteral("100"), QStringLiteral("-o"), path("fast.dtw")}),
              ExitUsage);
    const QString out = path("rt.dtw");
    ASSERT_EQ(run(RunRealtime, {QStringLiteral("--seconds"), QStringLiteral("2.5"), QStringLiteral("--interval"),
                                QStringLiteral("600"), QStringLiteral("--temperature"), QStringLiteral("-o"), out}),
              ExitOk);
    const DataFileLoadResult r = LoadDataFile(out);
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.DataKind, DataKindWithTemperature);
    EXPECT_EQ(r.file->record.SamplePeriod, 1000000.0);
    EXPECT_EQ(r.file->AxisXName, QStringLiteral("Время, с"));
    const int requests = int(board->simulator().commands().count(cmd::cmdSampleTemp()));
    // The first reply is dropped, the others, the last one's included, are all kept: signal
    // words, then temperatures.
    const int points = int(r.file->record.SampleBuffer.size() / 4);
    EXPECT_GE(points, 3);
    EXPECT_EQ(points, requests - 1);
    for (int i = 0; i < points; ++i) {
        const qint16 quarter = qint16(quint16(quint8(r.file->record.SampleBuffer[2 * points + 2 * i]) |
                                              quint8(r.file->record.SampleBuffer[2 * points + 2 * i + 1]) << 8));
        EXPECT_NEAR(quarter / 4.0, 21.0, 10.0);
    }
}

// The real QSerialPort road: the simulated board served on a pseudo-terminal in this process.
class CliPseudoTerminal : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimOptions o;
        o.timeScale = 0;
        server = std::make_unique<PtyBoardServer>(o);
        ASSERT_TRUE(server->start());
    }
    void TearDown() override { server->stop(); }

    int run(int (*sub)(const QStringList&), QStringList args)
    {
        args = QStringList{QStringLiteral("korvel-cli"), QStringLiteral("--port"), server->devicePath(),
                           QStringLiteral("--settings"), korvel::testing::DefaultSettingsFile(dir.path())} + args;
        return sub(args);
    }

    QByteArray expectedFile(const QByteArray& words, const ModeStart& start)
    {
        const SettingsValues defaults;
        const Recording record{
            .SampleBuffer = words, .BlockCount = start.BlockCount, .SamplePeriod = start.SamplePeriod};
        DataFileSaveInput in;
        const ScaleCoefficients s = GetScaleParams(ScaleInputsFrom(defaults, QStringLiteral("мкс"))).coefficients;
        in.ScaleK = s.ScaleK;
        in.ScaleShift = s.ScaleShift;
        in.AxisXName = QStringLiteral("Время, мкс");
        return BuildDataFile(record, in).output->bytes;
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyBoardServer> server;
};

TEST_F(CliPseudoTerminal, OneMegahertzAndFtFilesEqualTheSaveButtons)
{
    const QString one = dir.filePath(QStringLiteral("one.dtw"));
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("1mhz"), QStringLiteral("-o"), one}), ExitOk);
    EXPECT_EQ(ReadAll(one), expectedFile(server->expectedBytes(1), Start1MHz(0)));

    const QString ft = dir.filePath(QStringLiteral("ft.dtw"));
    ASSERT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--time"),
                               QStringLiteral("2000"), QStringLiteral("--blocks"), QStringLiteral("1"),
                               QStringLiteral("-o"), ft}),
              ExitOk);
    const QList<QByteArray> c = server->commands();
    const auto it = std::find_if(c.begin(), c.end(), [](const QByteArray& b) { return b.startsWith(char(0x13)); });
    ASSERT_NE(it, c.end());
    const QByteArray start = *it;
    ASSERT_EQ(start.size(), 5);
    const int d1 = quint8(start[2]) ? quint8(start[2]) : 256;
    const int d2 = quint8(start[3]) ? quint8(start[3]) : 256;
    EXPECT_EQ(ReadAll(ft), expectedFile(server->expectedBytes(1), StartFT(0, 1, d1, d2)));
}

TEST_F(CliPseudoTerminal, RealtimeRecordsEveryAnsweredRequest)
{
    const QString out = dir.filePath(QStringLiteral("rt.dtw"));
    ASSERT_EQ(run(RunRealtime, {QStringLiteral("--seconds"), QStringLiteral("2"), QStringLiteral("--interval"),
                                QStringLiteral("600"), QStringLiteral("-o"), out}),
              ExitOk);
    const DataFileLoadResult r = LoadDataFile(out);
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.DataKind, DataKindSignal);
    const int requests = int(server->commands().count(cmd::cmdSample()));
    EXPECT_GE(requests, 3);
    EXPECT_EQ(int(r.file->record.SampleBuffer.size() / 2), requests - 1);
}

TEST(CliProgram, MeasureOverSimulateLinkReportsItsTransfer)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("board"));
    QProcess sim;
    sim.start(QStringLiteral(KORVEL_CLI_PATH), {QStringLiteral("simulate"), QStringLiteral("--link"), link,
                                                QStringLiteral("--time-scale"), QStringLiteral("0")});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const korvel::testing::CliResult r = RunCliProgram(
        {QStringLiteral("measure"), QStringLiteral("--port"), link, QStringLiteral("--settings"),
         korvel::testing::DefaultSettingsFile(dir.path()), QStringLiteral("--mode"), QStringLiteral("07mhz"),
         QStringLiteral("--json"), QStringLiteral("-o"), dir.filePath(QStringLiteral("p.dtw"))});
    sim.terminate();
    sim.waitForFinished(5000);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject j = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(j.value(QStringLiteral("packets")).toInt(), 960);
    EXPECT_EQ(j.value(QStringLiteral("bytes")).toInt(), 480000);
    EXPECT_TRUE(j.contains(QStringLiteral("transfer_ms")));
    EXPECT_GE(j.value(QStringLiteral("total_ms")).toInt(), j.value(QStringLiteral("transfer_ms")).toInt());
    ::testing::Test::RecordProperty("transfer_ms", j.value(QStringLiteral("transfer_ms")).toInt());
    // Without a board there is the program's message and status 1; a wrong word is status 2.
    const korvel::testing::CliResult none = RunCliProgram(
        {QStringLiteral("temperature"), QStringLiteral("--port"), dir.filePath(QStringLiteral("nothing"))});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("АЦП не обнаружено")));
    EXPECT_TRUE(none.err.contains(QStringLiteral("нет такого устройства"))) << none.err.toStdString();
    // A bare name is looked for under /dev, and the message names the device tried.
    const korvel::testing::CliResult bare =
        RunCliProgram({QStringLiteral("temperature"), QStringLiteral("--port"), QStringLiteral("korvel-no-such-tty")});
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_TRUE(bare.err.contains(QStringLiteral("/dev/korvel-no-such-tty: нет такого устройства")))
        << bare.err.toStdString();
    EXPECT_EQ(RunCliProgram({QStringLiteral("measure"), QStringLiteral("--bogus")}).exitCode, 2);
}

// A board whose fifth packet is a byte short on every attempt: the array is asked for three
// times, the run fails naming that packet, and the file already at -o is left as it was.
TEST(CliProgram, AShortPacketOnEveryAttemptFailsTheRunAndKeepsTheOutputFile)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("board"));
    QProcess sim;
    sim.start(QStringLiteral(KORVEL_CLI_PATH), {QStringLiteral("simulate"), QStringLiteral("--link"), link,
                                                QStringLiteral("--time-scale"), QStringLiteral("0"),
                                                QStringLiteral("--short-packet"), QStringLiteral("5")});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const QString out = dir.filePath(QStringLiteral("p.dtw"));
    QFile earlier(out);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    const korvel::testing::CliResult r = RunCliProgram(
        {QStringLiteral("measure"), QStringLiteral("--port"), link, QStringLiteral("--settings"),
         korvel::testing::DefaultSettingsFile(dir.path()), QStringLiteral("--mode"), QStringLiteral("1mhz"),
         QStringLiteral("-o"), out});
    sim.terminate();
    sim.waitForFinished(5000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("пакет 5 из 120"))) << r.err.toStdString();
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    // The packet number counts from one, as the failure message does.
    EXPECT_EQ(RunCliProgram({QStringLiteral("simulate"), QStringLiteral("--short-packet"), QStringLiteral("0")})
                  .exitCode,
              2);
}

TEST(CliProgram, TemperatureIsPrintedAsTheStatusPanelShowsIt)
{
    const korvel::testing::CliResult r = RunCliProgram({QStringLiteral("temperature"), QStringLiteral("--simulate")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral(" градусов на "))) << r.out.toStdString();
}
