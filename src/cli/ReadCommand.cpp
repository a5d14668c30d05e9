// korvel-cli read --blocks N -o FILE
// The "Read" button: the board's memory fetched again, without a new measurement.

#include "chart/Scaling.h"
#include "cli/ArrayRun.h"
#include "cli/CliSupport.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "device/Commands.h"

#include <QTextStream>

namespace korvel::cli {

int RunRead(const QStringList& arguments)
{
    const QString name = QStringLiteral("read");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fetch the board's memory again and save it."));
    AddLinkOptions(parser);
    AddSettingsOption(parser);
    parser.addOption({QStringLiteral("blocks"), QStringLiteral("Blocks of 30000 samples (1..8)."),
                      QStringLiteral("N"), QStringLiteral("8")});
    parser.addOption({QStringLiteral("comment"), QStringLiteral("Comment stored in the file."),
                      QStringLiteral("TEXT")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("File to write (.txt: text export)."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print a summary object on stdout.")});
    if (const int rc = ParseArguments(parser, arguments, name); rc >= 0)
        return rc;
    bool ok = false;
    const int blocks = parser.value(QStringLiteral("blocks")).toInt(&ok);
    if (!ok || blocks < 1 || blocks > 8)
        return UsageError(name, QStringLiteral("--blocks needs a number from 1 to 8"));
    if (parser.value(QStringLiteral("o")).isEmpty())
        return UsageError(name, QStringLiteral("-o FILE is required"));

    const SettingsValues settings = SettingsFrom(parser);
    std::unique_ptr<SerialPort> port = ConnectFromOptions(parser);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    // A fresh program has started no mode; the block code of the request names the blocks,
    // read as the 0.7 MHz array they most likely hold.
    acq.ModeCommand = cmd::bytes({cmd::cmdStart07MHzByte, cmd::BlockCode(blocks)});
    acq.BlockCount = static_cast<quint16>(blocks);
    acq.SamplePeriod = SamplePeriodForTicks(21);
    ArrayRunLimits limits;
    limits.TransferTimeMs = ReadTransferTimeMs;
    ArrayRunStats stats;
    QString error;
    const bool done = RunArray(acq, [&] { acq.Read(); }, limits, true, &stats, &error);
    port->close();
    if (!done)
        return Failure(error);

    return SaveArrayRun(acq, false, stats, parser, settings);
}

}  // namespace korvel::cli
