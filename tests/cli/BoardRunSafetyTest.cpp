// Board runs a script can rely on: nothing asked of the board before its file and scaling are
// known to work, a finished measurement never thrown away, a silent board or a missing edge
// reported, numbers taken only whole, and Ctrl-C handled as a shell user expects.

#include "CliTestSupport.h"
#include "cli/BoardSession.h"
#include "cli/StopOnSignal.h"
#include "cli/Subcommands.h"
#include "device/Commands.h"
#include "files/DataFileIo.h"
#include "settings/Settings.h"
#include "support/EventLoopWait.h"
#include "support/SaveFaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>

using namespace korvel;
using namespace korvel::cli;
using korvel::testing::FileBytes;
using korvel::testing::LentPort;

namespace {

class BoardRunSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        board = std::make_unique<SimulatedPort>(options);
        SetBoardPortFactory([this](const LinkOptions&) {
            auto port = std::make_unique<LentPort>(*board);
            port->onWrite = [this](const QByteArray& bytes) {
                if (onWrite)
                    onWrite(bytes);
            };
            return port;
        });
        saveSettings();
    }
    void TearDown() override { SetBoardPortFactory({}); }

    void saveSettings()
    {
        RecordingMessages m;
        ASSERT_TRUE(SaveSettings(ini(), settings, m));
    }
    QString ini() const { return dir.filePath(QStringLiteral("Korvel.ini")); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Runs a subcommand on the board; its stderr lands in err.
    int run(int (*sub)(const QStringList&), QStringList args)
    {
        args.prepend(QStringLiteral("korvel-cli"));
        args << QStringLiteral("--simulate") << QStringLiteral("--settings") << ini();
        ::testing::internal::CaptureStderr();
        const int rc = sub(args);
        err = QString::fromStdString(::testing::internal::GetCapturedStderr());
        return rc;
    }
    int measure1MHz(const QString& out)
    {
        return run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("1mhz"), QStringLiteral("--trigger"),
                                QStringLiteral("computer"), QStringLiteral("-o"), out});
    }
    qsizetype sent(const QByteArray& command) const { return board->simulator().commands().count(command); }

    QTemporaryDir dir;
    SimOptions options{1, 0.0};
    SettingsValues settings;
    std::unique_ptr<SimulatedPort> board;
    std::function<void(const QByteArray&)> onWrite;
    QString err;
};

}  // namespace

TEST_F(BoardRunSafety, OutputAndScalingAreCheckedBeforeTheBoardIsAsked)
{
    EXPECT_EQ(measure1MHz(path("missing/run.dtw")), ExitFailure);
    EXPECT_TRUE(err.contains(path("missing"))) << err.toStdString();
    EXPECT_EQ(measure1MHz(dir.path()), ExitUsage);  // a folder
    EXPECT_EQ(measure1MHz(ini()), ExitUsage);       // the settings it reads
    // A link that leads nowhere.
    ASSERT_TRUE(QFile::link(path("gone/run.dtw"), path("dangling.dtw")));
    EXPECT_EQ(measure1MHz(path("dangling.dtw")), ExitUsage);
    EXPECT_TRUE(err.contains(path("gone/run.dtw"))) << err.toStdString();

    settings.cbExtScale = 1;
    settings.emExtScale = QStringLiteral("полтора");
    saveSettings();
    EXPECT_EQ(measure1MHz(path("run.dtw")), ExitFailure);
    EXPECT_TRUE(err.contains(QStringLiteral("полтора"))) << err.toStdString();
    EXPECT_TRUE(board->simulator().commands().isEmpty());
    EXPECT_FALSE(QFile::exists(path("run.dtw")));

    // The accelerometer file stores no coefficient: the same settings do not stop it.
    EXPECT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("adxl"), QStringLiteral("-o"),
                               path("ax.dtw")}),
              ExitOk) << err.toStdString();
}

TEST_F(BoardRunSafety, FailedSaveKeepsTheMeasurementInARecoveryFile)
{
    const QString data = path("data");
    qputenv("XDG_DATA_HOME", data.toUtf8());
    ASSERT_TRUE(QDir().mkpath(path("out")));
    // The folder of the output goes away while the array is on its way.
    onWrite = [&, seen = 0](const QByteArray& bytes) mutable {
        if (bytes == cmd::cmdNextPacket() && ++seen == 3)
            QDir(path("out")).removeRecursively();
    };
    const int rc = measure1MHz(path("out/run.dtw"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(rc, ExitFailure);
    const QStringList kept = QDir(data + QStringLiteral("/korvel/recovered")).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(kept.front())) << err.toStdString();
    const DataFileLoadResult r = LoadDataFile(data + QStringLiteral("/korvel/recovered/") + kept.front());
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.SampleBuffer, board->simulator().expectedBytes(1));
}

TEST_F(BoardRunSafety, SilentBoardEndsARealtimeRunWithoutAFile)
{
    board->simulator().faults.silent = true;
    EXPECT_EQ(run(RunRealtime, {QStringLiteral("--seconds"), QStringLiteral("1"), QStringLiteral("--interval"),
                                QStringLiteral("600"), QStringLiteral("-o"), path("rt.dtw")}),
              ExitFailure);
    EXPECT_TRUE(err.contains(QStringLiteral("Плата АЦП не ответила"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("rt.dtw")));
}

TEST_F(BoardRunSafety, FirstSignalStopsMeasureUnsavedAndRealtimeSaved)
{
    // At the line's pace, as a real board answers, so the loop runs between packets.
    board->setThrottle(true);
    onWrite = [seen = 0](const QByteArray& bytes) mutable {
        if (bytes == cmd::cmdNextPacket() && ++seen == 3)
            std::raise(SIGINT);
    };
    EXPECT_EQ(measure1MHz(path("run.dtw")), ExitSignalBase + SIGINT);
    EXPECT_FALSE(QFile::exists(path("run.dtw")));
    EXPECT_LT(sent(cmd::cmdNextPacket()), 10);  // the transfer stopped there

    // No --seconds: the recording lasts until the signal, and what it holds is saved.
    onWrite = [seen = 0](const QByteArray& bytes) mutable {
        if (bytes == cmd::cmdSample() && ++seen == 4)
            std::raise(SIGTERM);
    };
    EXPECT_EQ(run(RunRealtime, {QStringLiteral("--interval"), QStringLiteral("600"), QStringLiteral("-o"),
                                path("rt.dtw")}),
              ExitOk) << err.toStdString();
    const DataFileLoadResult r = LoadDataFile(path("rt.dtw"));
    ASSERT_TRUE(r.file);
    EXPECT_GE(r.file->record.SampleBuffer.size(), 2 * 2);
}

TEST_F(BoardRunSafety, RealtimeSavesOnAHangUpAndAStopBeforeTheFirstPointKeepsTheFile)
{
    board->setThrottle(true);
    // The terminal closes after the fourth request: in a child, since the hang-up used to end
    // the whole process.
    onWrite = [seen = 0](const QByteArray& bytes) mutable {
        if (bytes == cmd::cmdSample() && ++seen == 4)
            std::raise(SIGHUP);
    };
    const korvel::testing::ChildResult hungUp = korvel::testing::RunInChild([&] {
        return run(RunRealtime, {QStringLiteral("--interval"), QStringLiteral("600"), QStringLiteral("-o"),
                                 path("rt.dtw")});
    });
    ASSERT_TRUE(hungUp.exited) << hungUp.signal;
    EXPECT_EQ(hungUp.code, ExitOk);
    const DataFileLoadResult r = LoadDataFile(path("rt.dtw"));
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.DataKind, DataKindSignal);
    EXPECT_DOUBLE_EQ(r.file->record.SamplePeriod, 1e6);
    EXPECT_GE(r.file->record.SampleBuffer.size(), 2 * 2);

    // Stopped before the first point: the file already there stays as it was.
    const QByteArray earlier = FileBytes(path("rt.dtw"));
    for (const int signal : {SIGTERM, SIGINT}) {
        onWrite = [signal](const QByteArray& bytes) {
            if (bytes == cmd::cmdSample())
                std::raise(signal);
        };
        EXPECT_EQ(run(RunRealtime, {QStringLiteral("-o"), path("rt.dtw")}), ExitSignalBase + signal);
        EXPECT_TRUE(err.contains(QStringLiteral("остановлено до первой точки"))) << err.toStdString();
        EXPECT_FALSE(err.contains(QStringLiteral("не ответила"))) << err.toStdString();
        EXPECT_EQ(FileBytes(path("rt.dtw")), earlier);
    }
}

TEST_F(BoardRunSafety, RealtimeSaysHowManyPointsWereLostSavesAndFails)
{
    // The board leaves the third request unanswered; the fourth finds it still owed.
    onWrite = [this, seen = 0](const QByteArray& bytes) mutable {
        if (bytes == cmd::cmdSample())
            board->simulator().faults.silent = ++seen == 3;
    };
    ::testing::internal::CaptureStdout();
    const int rc = run(RunRealtime, {QStringLiteral("--seconds"), QStringLiteral("3"), QStringLiteral("--interval"),
                                     QStringLiteral("600"), QStringLiteral("--json"), QStringLiteral("-o"),
                                     path("rt.dtw")});
    const QStringList lines =
        QString::fromStdString(::testing::internal::GetCapturedStdout()).trimmed().split(QLatin1Char('\n'));
    EXPECT_EQ(rc, ExitFailure);
    const DataFileLoadResult r = LoadDataFile(path("rt.dtw"));
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.DataKind, DataKindSignal);
    EXPECT_DOUBLE_EQ(r.file->record.SamplePeriod, 1e6);
    const int points = int(r.file->record.SampleBuffer.size() / 2);
    EXPECT_GE(points, 2);
    EXPECT_TRUE(err.contains(QStringLiteral("Потеряно точек: 1 из %1").arg(points + 1))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("пропуски"))) << err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(lines.last().toUtf8()).object();
    EXPECT_EQ(summary.value(QStringLiteral("points")).toInt(), points);
    EXPECT_EQ(summary.value(QStringLiteral("lost_points")).toInt(), 1);
    EXPECT_EQ(lines.size(), points + 1);
}

TEST(StopOnSignal, SecondSignalEndsTheProgramAtOnce)
{
    const korvel::testing::ChildResult r = korvel::testing::RunInChild([] {
        StopOnSignal stop;
        std::raise(SIGINT);
        if (!korvel::testing::WaitUntil([&] { return stop.stopRequested(); }))
            return 3;
        std::raise(SIGINT);
        return 0;
    });
    EXPECT_EQ(r.signal, SIGINT);
}

TEST_F(BoardRunSafety, NumbersAreTakenOnlyWholeAndInRange)
{
    const QString out = path("x.dtw");
    const QList<QStringList> wrong = {
        {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--freq"), QStringLiteral("20k")},
        {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--freq"), QStringLiteral("2400.5")},
        {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--time"), QStringLiteral("5s")},
        {QStringLiteral("--mode"), QStringLiteral("ft"), QStringLiteral("--freq"), QStringLiteral("2400"),
         QStringLiteral("--blocks"), QStringLiteral("x")},
        {QStringLiteral("--mode"), QStringLiteral("extf"), QStringLiteral("--samples"), QStringLiteral("45000")},
        {QStringLiteral("--mode"), QStringLiteral("adxl"), QStringLiteral("--duration-index"), QStringLiteral("8")},
    };
    for (const QStringList& args : wrong) {
        EXPECT_EQ(run(RunMeasure, args + QStringList{QStringLiteral("-o"), out}), ExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(args[args.size() - 2])) << err.toStdString();  // the option is named
    }
    EXPECT_TRUE(err.contains(QStringLiteral("0 до 7"))) << err.toStdString();  // and its range
    EXPECT_TRUE(board->simulator().commands().isEmpty());
}

TEST_F(BoardRunSafety, TriggeredStartEndsAtTheTimeout)
{
    options.edgeDelayMs = -1;  // the edge never comes
    board = std::make_unique<SimulatedPort>(options);
    EXPECT_EQ(run(RunMeasure, {QStringLiteral("--mode"), QStringLiteral("1mhz"), QStringLiteral("--trigger"),
                               QStringLiteral("rise"), QStringLiteral("--timeout"), QStringLiteral("0.5"),
                               QStringLiteral("-o"), path("run.dtw")}),
              ExitFailure);
    EXPECT_TRUE(err.contains(QStringLiteral("Запуска по внешнему сигналу не было"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("run.dtw")));
}
