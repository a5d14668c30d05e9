// What a script sees of korvel-cli as a program: the settings of the user who runs it, help
// texts, the version, and --json output that a JSON reader accepts.

#include "CliTestSupport.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"
#include "settings/Settings.h"
#include "support/SaveFaults.h"
#include "text/Messages.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

using namespace korvel;
using korvel::testing::CliResult;
using korvel::testing::RunCliProgram;

namespace {

constexpr QFileDevice::Permissions OpenToAll =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
    | QFileDevice::WriteOther | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions ReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner
    | QFileDevice::ReadOther | QFileDevice::ExeOther;

bool IsJson(const QString& text)
{
    QProcess tool;
    tool.start(QStringLiteral("python3"), {QStringLiteral("-m"), QStringLiteral("json.tool")});
    tool.write(text.toUtf8());
    tool.closeWriteChannel();
    return tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

}  // namespace

TEST(CliProgram, InstalledProgramReadsTheUsersSettingsAsTheWindowDoes)
{
    // An installed copy in a folder its user cannot write, run by that user with a HOME whose
    // settings ask for one block: the F/T window then measures for an eighth of the time.
    QTemporaryDir root;
    QFile::setPermissions(root.path(), OpenToAll);
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString home = root.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/.config/korvel")));
    QFile::setPermissions(home, OpenToAll);
    const QString program = bin + QStringLiteral("/korvel-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVEL_CLI_PATH), program));
    QFile::setPermissions(program, ReadOnly);
    QFile::setPermissions(bin, ReadOnly);
    SettingsValues oneBlock;
    oneBlock.SRAMblocks = 1;
    RecordingMessages m;
    ASSERT_TRUE(SaveSettings(home + QStringLiteral("/.config/korvel/Korvel.ini"), oneBlock, m));

    const QByteArray exe = program.toLocal8Bit();
    const QByteArray out = (home + QStringLiteral("/out.json")).toLocal8Bit();
    const QByteArray homeVar = "HOME=" + home.toLocal8Bit();
    const korvel::testing::ChildResult r = korvel::testing::RunInChild(
        [&] {
            const int fd = ::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0)
                return 126;
            char* const argv[] = {const_cast<char*>(exe.constData()), const_cast<char*>("divisors"),
                                  const_cast<char*>("--freq"), const_cast<char*>("2400"),
                                  const_cast<char*>("--json"), nullptr};
            char* const envp[] = {const_cast<char*>(homeVar.constData()),
                                  const_cast<char*>("QT_QPA_PLATFORM=offscreen"), nullptr};
            ::execve(exe.constData(), argv, envp);
            return 127;
        },
        true);
    QFile::setPermissions(bin, OpenToAll);
    ASSERT_TRUE(r.exited);
    ASSERT_EQ(r.code, 0);
    QFile f(QString::fromLocal8Bit(out));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject j = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_NEAR(j.value(QStringLiteral("TrueTimeMs")).toDouble(), 12500, 200);

    // A settings file named on purpose must be there.
    const CliResult missing = RunCliProgram({QStringLiteral("divisors"), QStringLiteral("--freq"),
                                             QStringLiteral("2400"), QStringLiteral("--settings"),
                                             root.filePath(QStringLiteral("nowhere.ini"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(root.filePath(QStringLiteral("nowhere.ini"))));
    EXPECT_EQ(RunCliProgram({QStringLiteral("divisors"), QStringLiteral("--freq"), QStringLiteral("2400"),
                             QStringLiteral("--settings"), home}).exitCode,
              1);
}

TEST(CliProgram, HelpIsRussianAndEveryUsageLineNamesItsSubcommand)
{
    const CliResult top = RunCliProgram({QStringLiteral("--help")});
    EXPECT_EQ(top.exitCode, 0);
    EXPECT_TRUE(top.out.contains(QStringLiteral("Коды завершения")));
    EXPECT_TRUE(top.out.contains(QStringLiteral("130")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^korvel-cli \\d+\\.\\d+\\.\\d+\\n$"))
                    .match(RunCliProgram({QStringLiteral("--version")}).out)
                    .hasMatch());
    for (const cli::Subcommand& sub : cli::Subcommands()) {
        const CliResult r = RunCliProgram({QString::fromUtf8(sub.name), QStringLiteral("--help")});
        EXPECT_EQ(r.exitCode, 0) << sub.name;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Использование: korvel-cli ") + QString::fromUtf8(sub.name)))
            << r.out.toStdString();
        // The window's control names mean nothing to someone at a terminal.
        EXPECT_FALSE(r.out.contains(QRegularExpression(QStringLiteral("\\b(se|cb|bt|em)[A-Z]"))))
            << r.out.toStdString();
    }
}

TEST(CliProgram, EveryJsonOutputIsValidJson)
{
    QTemporaryDir dir;
    const QString ini = korvel::testing::DefaultSettingsFile(dir.path());
    // A damaged header may hold a period that is not a number.
    const Recording broken{.BlockCount = 0, .SamplePeriod = std::numeric_limits<double>::quiet_NaN()};
    DataFileSaveInput notes;
    notes.ScaleK = std::numeric_limits<double>::infinity();
    notes.comment = QStringLiteral("\"кавычки\"\tи\\");
    ASSERT_TRUE(SaveDataFile(dir.filePath(QStringLiteral("nan.dtw")), broken, notes).output);
    const QString run = dir.filePath(QStringLiteral("run.dtw"));
    const QList<QStringList> commands = {
        {QStringLiteral("measure"), QStringLiteral("--simulate"), QStringLiteral("--mode"), QStringLiteral("1mhz"),
         QStringLiteral("--json"), QStringLiteral("-o"), run, QStringLiteral("--settings"), ini},
        {QStringLiteral("info"), QStringLiteral("--json"), run, dir.filePath(QStringLiteral("nan.dtw"))},
        {QStringLiteral("divisors"), QStringLiteral("--time"), QStringLiteral("5000"), QStringLiteral("--json"),
         QStringLiteral("--settings"), ini},
        {QStringLiteral("temperature"), QStringLiteral("--simulate"), QStringLiteral("--json")},
        {QStringLiteral("realtime"), QStringLiteral("--simulate"), QStringLiteral("--temperature"),
         QStringLiteral("--seconds"), QStringLiteral("2"), QStringLiteral("--interval"), QStringLiteral("600"),
         QStringLiteral("--json"), QStringLiteral("-o"), dir.filePath(QStringLiteral("rt.dtw")),
         QStringLiteral("--settings"), ini},
        {QStringLiteral("ports"), QStringLiteral("--json")},
        {QStringLiteral("comments"), dir.path(), QStringLiteral("--json")},
        {QStringLiteral("comments"), dir.path(), QStringLiteral("--find"), QStringLiteral("и"), QStringLiteral("--json")},
    };
    for (const QStringList& args : commands) {
        const CliResult r = RunCliProgram(args);
        ASSERT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << "\n" << r.err.toStdString();
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_FALSE(lines.isEmpty()) << args.join(' ').toStdString();
        for (const QString& line : lines)
            EXPECT_TRUE(IsJson(line)) << args.join(' ').toStdString() << "\n" << line.toStdString();
    }
    const CliResult info = RunCliProgram({QStringLiteral("info"), QStringLiteral("--json"),
                                          dir.filePath(QStringLiteral("nan.dtw"))});
    const QJsonObject j = QJsonDocument::fromJson(info.out.toUtf8()).object();
    EXPECT_TRUE(j.value(QStringLiteral("SamplePeriod")).isNull());
    EXPECT_TRUE(j.value(QStringLiteral("ScaleK")).isNull());
}

TEST(CliProgram, WithoutASessionsRuntimeFolderStderrHoldsOnlyTheCommandsOwnMessages)
{
    // As under cron, ssh or a service: no XDG_RUNTIME_DIR. The temporary folder is the test's,
    // so that what a command leaves there shows.
    QTemporaryDir dir;
    QTemporaryDir temp;
    const QString ini = korvel::testing::DefaultSettingsFile(dir.path());
    const QString data = dir.filePath(QStringLiteral("a.dtw"));
    const Recording record{.SampleBuffer = QByteArray(60000, '\x10'), .BlockCount = 1, .SamplePeriod = 1};
    ASSERT_TRUE(SaveDataFile(data, record, DataFileSaveInput{}).output);
    const QString settings = QStringLiteral("--settings");
    const QList<QStringList> commands = {
        {QStringLiteral("plot"), data, QStringLiteral("-o"), dir.filePath(QStringLiteral("a.png")),
         settings, ini},
        {QStringLiteral("spectrum"), data, settings, ini},
        {QStringLiteral("export"), data, QStringLiteral("-o"), dir.filePath(QStringLiteral("a.txt")),
         settings, ini},
        {QStringLiteral("info"), data},
        {QStringLiteral("divisors"), QStringLiteral("--time"), QStringLiteral("5000"), settings, ini},
    };
    for (const QStringList& args : commands) {
        const CliResult r = RunCliProgram(args, 60000,
                                          {QStringLiteral("XDG_RUNTIME_DIR"),
                                           QStringLiteral("TMPDIR=") + temp.path()});
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.toStdString(), "") << args.join(' ').toStdString();
    }
    EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}
