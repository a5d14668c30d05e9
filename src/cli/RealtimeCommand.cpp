// korvel-cli realtime --seconds N [--temperature] -o FILE
// The real-time mode for N seconds, saved as the save button would save the recording.

#include "chart/Scaling.h"
#include "cli/CliSupport.h"
#include "cli/RealTimeRun.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "text/NumberFormat.h"

#include <algorithm>

namespace korvel::cli {

int RunRealtime(const QStringList& arguments)
{
    const QString name = QStringLiteral("realtime");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Record the real-time mode and save it."));
    AddLinkOptions(parser);
    AddSettingsOption(parser);
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("How long to record."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("temperature"),
                      QStringLiteral("Ask for the temperature too (drives both outputs).")});
    parser.addOption({QStringLiteral("interval"),
                      QStringLiteral("Polling interval in ms, 600 or more (the window polls every 1000)."),
                      QStringLiteral("MS"), QStringLiteral("1000")});
    parser.addOption({QStringLiteral("comment"), QStringLiteral("Comment stored in the file."),
                      QStringLiteral("TEXT")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("File to write (.txt: text export)."), QStringLiteral("FILE")});
    if (const int rc = ParseArguments(parser, arguments, name); rc >= 0)
        return rc;
    bool ok = false;
    const double seconds = parser.value(QStringLiteral("seconds")).toDouble(&ok);
    if (!ok || seconds <= 0)
        return UsageError(name, QStringLiteral("--seconds needs a positive number"));
    const int interval = parser.value(QStringLiteral("interval")).toInt(&ok);
    // The receiver gathers a short reply for 500 ms after its first byte; polling faster would
    // merge replies and silently lose points.
    if (!ok || interval < 600)
        return UsageError(name, QStringLiteral("--interval needs at least 600 ms"));
    if (parser.value(QStringLiteral("o")).isEmpty())
        return UsageError(name, QStringLiteral("-o FILE is required"));

    const SettingsValues settings = SettingsFrom(parser);
    const bool withTemperature = parser.isSet(QStringLiteral("temperature"));
    std::unique_ptr<SerialPort> port = ConnectFromOptions(parser);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    bool full = false;
    QObject::connect(&acq, &Acquisition::realTimeRecordFull, [&] { full = true; });
    std::unique_ptr<RealTimeRun> run;
    try {
        run = std::make_unique<RealTimeRun>(acq, settings, withTemperature, interval);
    } catch (const ConversionError& e) {
        return Failure(e.message());
    }

    run->start();
    WaitFor([&] { return full; }, static_cast<qint64>(seconds * 1000));
    run->stop();
    // The reply to the last request may still be on its way; the receiver waits 500 ms for it.
    const qint64 settle = acq.timRx().interval() + 300;
    WaitFor([] { return false; }, settle);
    run->finish();
    port->close();

    const int points = std::max(acq.RealTimeCount, 0);
    SaveSource source;
    source.realTimeData = true;
    source.termoHasPoints = withTemperature && points > 0;
    source.RealTimeCount = points;
    source.RealTimeSignal = std::span<const quint16>(acq.RealTimeSignal);
    source.RealTimeTemperature = std::span<const qint16>(acq.RealTimeTemperature);
    source.SamplePeriod = acq.SamplePeriod;
    // The real-time start selects seconds as the X unit.
    source.XUnitName = CalcScales(2, 1).XUnitName;
    source.comment = parser.value(QStringLiteral("comment"));
    const QString saveError = SaveAsSaveButton(parser.value(QStringLiteral("o")), source, settings);
    if (!saveError.isEmpty())
        return Failure(saveError);
    return ExitOk;
}

}  // namespace korvel::cli
