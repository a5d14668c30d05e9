// korvel-cli temperature
// One reading of the board's sensor, printed as the status panel shows it.

#include "cli/CliSupport.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"

#include <QTextStream>

namespace korvel::cli {

int RunTemperature(const QStringList& arguments)
{
    const QString name = QStringLiteral("temperature");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Read the board's temperature sensor once."));
    AddLinkOptions(parser);
    if (const int rc = ParseArguments(parser, arguments, name); rc >= 0)
        return rc;
    std::unique_ptr<SerialPort> port = ConnectFromOptions(parser);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    QString text;
    QObject::connect(&acq, &Acquisition::statusText, [&](int panel, const QString& t) {
        if (panel == 2 && !t.isEmpty())
            text = t;
    });
    acq.requestTemperature();
    // The reply is handled half a second after its first byte; two seconds is ample.
    const bool answered = WaitFor([&] { return !text.isEmpty(); }, 2000 + acq.timRx().interval());
    port->close();
    if (!answered)
        return Failure(QStringLiteral("Плата АЦП не ответила"));
    QTextStream(stdout) << text << Qt::endl;
    return ExitOk;
}

}  // namespace korvel::cli
