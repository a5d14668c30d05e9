// The korvel program as a user starts it: the built binary run offscreen in a folder of its own.
#include "files/DataFile.h"
#include "files/DataFileIo.h"
#include "support/EventLoopWait.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>

using namespace korvel;

namespace {

struct Program {
    QTemporaryDir dir;
    QString stderrText;

    QString path(const QString& name) const { return dir.filePath(name); }

    // Starts korvel on the simulated board with the settings in dir.
    void start(QProcess& p, const QStringList& args) const
    {
        p.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KORVEL_PATH),
                QStringList{QStringLiteral("--simulate"), QStringLiteral("--settings"),
                            path(QStringLiteral("Korvel.ini"))}
                    + args);
    }
    // The exit code of a run to its end.
    int run(const QStringList& args)
    {
        QProcess p;
        start(p, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
        }
        stderrText = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QImage screenshot(const QStringList& args)
    {
        const QString png = path(QStringLiteral("shot.png"));
        QFile::remove(png);
        EXPECT_EQ(run(QStringList{QStringLiteral("--screenshot"), png} + args), 0);
        return QImage(png);
    }
};

// Whether process pid has a handler of its own for signal sig.
bool catches(qint64 pid, int sig)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (sig - 1)) & 1;
    }
    return false;
}

}  // namespace

TEST(Program, OpensTheDataFileNamedOnTheCommandLine)
{
    Program korvel;
    Recording ramp;
    ramp.BlockCount = 1;
    for (int i = 0; i < 30000; ++i) {
        const quint16 w = quint16(i % 4096);
        ramp.SampleBuffer.append(char(w & 0xff)).append(char(w >> 8));
    }
    ramp.SamplePeriod = 1.0;
    const QByteArray file = BuildDataFile(ramp, {}).output->bytes;
    ASSERT_EQ(WriteFileAtomically(korvel.path(QStringLiteral("ramp.dtw")), file), QString());
    QByteArray foreign = file;
    foreign[0] = 2;
    ASSERT_EQ(WriteFileAtomically(korvel.path(QStringLiteral("foreign.dtw")), foreign), QString());

    const QImage empty = korvel.screenshot({});
    ASSERT_FALSE(empty.isNull());
    EXPECT_NE(korvel.screenshot({QStringLiteral("ramp.dtw")}), empty);
    EXPECT_FALSE(korvel.stderrText.contains(QStringLiteral("korvel:"))) << korvel.stderrText.toStdString();

    // Refused as by the open button: its message, and the window as it starts without a file.
    EXPECT_EQ(korvel.screenshot({QStringLiteral("foreign.dtw")}), empty);
    EXPECT_TRUE(korvel.stderrText.contains(QStringLiteral("Приложение открывает файлы *.dtw")))
        << korvel.stderrText.toStdString();
}

TEST(Program, TerminatedOrHungUpItWritesTheSettingsAsAtAnyClose)
{
    for (const int sig : {SIGTERM, SIGHUP}) {
        Program program;
        QProcess p;
        program.start(p, {});
        ASSERT_TRUE(p.waitForStarted());
        // Sent once the program has taken the signal, which it does before its window runs.
        ASSERT_TRUE(korvel::testing::WaitUntil([&] { return catches(p.processId(), sig); }));
        ::kill(pid_t(p.processId()), sig);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << sig;
        QFile settings(program.path(QStringLiteral("Korvel.ini")));
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly)) << sig;
        EXPECT_TRUE(settings.readAll().contains("[Options]")) << sig;
    }
}
