// korvel-cli simulate [--link PATH] [--throttle] [--time-scale X] [--seed N]
// Serves the simulated board on a pseudo-terminal until interrupted.

#include "cli/StopOnSignal.h"
#include "cli/Subcommands.h"
#include "sim/PtyBoardServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace korvel::cli {

int RunSimulate(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serve the simulated ADC board on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("link"), QStringLiteral("Also make PATH a symbolic link to the device."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("throttle"), QStringLiteral("Pace replies at 921600 baud.")});
    parser.addOption({QStringLiteral("time-scale"),
                      QStringLiteral("Multiply the modelled measurement time (0 answers at once)."),
                      QStringLiteral("X"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the test signal."),
                      QStringLiteral("N"), QStringLiteral("1")});
    parser.process(arguments);

    QTextStream err(stderr);
    SimOptions options;
    bool ok = true;
    options.timeScale = parser.value(QStringLiteral("time-scale")).toDouble(&ok);
    if (!ok || options.timeScale < 0) {
        err << "simulate: --time-scale needs a number of zero or more\n";
        return 2;
    }
    options.seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
    if (!ok) {
        err << "simulate: --seed needs a whole number\n";
        return 2;
    }

    PtyBoardServer server(options, parser.isSet(QStringLiteral("throttle")));
    QString error;
    if (!server.start(&error)) {
        err << "simulate: cannot open a pseudo-terminal: " << error << "\n";
        return 1;
    }
    const QString link = parser.value(QStringLiteral("link"));
    if (!link.isEmpty()) {
        QFile::remove(link);
        if (!QFile::link(server.devicePath(), link)) {
            err << "simulate: cannot create the link " << link << "\n";
            return 1;
        }
    }
    QTextStream(stdout) << server.devicePath() << Qt::endl;

    StopOnSignal stop;
    const int rc = QCoreApplication::exec();
    server.stop();
    if (!link.isEmpty())
        QFile::remove(link);
    return rc;
}

}  // namespace korvel::cli
