#pragma once
// Running korvel-cli in the tests: the built program through QProcess (its stdout, stderr and
// exit status), or a subcommand in-process against a board the test can look into.

#include "cli/ExitCodes.h"
#include "serial/SerialPort.h"
#include "sim/SimulatedPort.h"
#include "text/Messages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>

namespace korvel::testing {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray rawOut;  // stdout as written (a text export is Windows-1251)
};

// extraEnvironment: NAME=VALUE pairs on top of the test's own environment; a NAME alone takes
// the variable away.
inline CliResult RunCliProgram(const QStringList& arguments, int limitMs = 60000,
                               const QStringList& extraEnvironment = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& pair : extraEnvironment) {
        if (pair.contains(QLatin1Char('=')))
            env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        else
            env.remove(pair);
    }
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KORVEL_CLI_PATH), arguments);
    CliResult r;
    if (!p.waitForFinished(limitMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.rawOut = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.rawOut);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// An empty settings file in folder: every value is the default, as with a new user.
inline QString DefaultSettingsFile(const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("defaults.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    return path;
}

// Lends a board the test owns to a subcommand, which closes and drops its port when done.
class LentPort : public SerialPort {
public:
    explicit LentPort(SimulatedPort& board) : board_(board)
    {
        connect(&board_, &SerialPort::received, this, &SerialPort::received);
    }
    bool open(const QString& device) override { return board_.open(device); }
    void close() override { board_.close(); }
    bool isOpen() const override { return board_.isOpen(); }
    bool setLineParameters() override { return board_.setLineParameters(); }
    bool setBaudRate(qint32 baud) override { return board_.setBaudRate(baud); }
    qint32 baudRate() const override { return board_.baudRate(); }
    void write(const QByteArray& bytes) override
    {
        if (onWrite)
            onWrite(bytes);
        board_.write(bytes);
    }
    qint64 bytesWaiting() const override { return board_.bytesWaiting(); }
    qint64 read(char* data, qint64 max) override { return board_.read(data, max); }
    using SerialPort::read;
    void purge() override { board_.purge(); }

    // Sees every command before the board does.
    std::function<void(const QByteArray&)> onWrite;

private:
    SimulatedPort& board_;
};

}  // namespace korvel::testing
