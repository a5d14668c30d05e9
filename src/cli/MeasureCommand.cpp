// korvel-cli measure --mode 1mhz|07mhz|alt|ft|extf|adxl [...] -o FILE
// One measurement with the window's start bytes, saved as the save button would.

#include "chart/Scaling.h"
#include "cli/ArrayRun.h"
#include "cli/CliSupport.h"
#include "cli/FtInput.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "device/ModeStarts.h"
#include "text/NumberFormat.h"

#include <QTextStream>
#include <optional>

namespace korvel::cli {

namespace {

const QString Name = QStringLiteral("measure");

struct PlannedStart {
    ModeStart start;
    bool AccelerometerMode = false;
};

std::optional<int> TriggerFrom(const QCommandLineParser& parser, const SettingsValues& settings)
{
    if (!parser.isSet(QStringLiteral("trigger")))
        return settings.TriggerType;
    const QString t = parser.value(QStringLiteral("trigger"));
    if (t == QLatin1String("computer"))
        return 0;
    if (t == QLatin1String("rise"))
        return 1;
    if (t == QLatin1String("fall"))
        return 2;
    return std::nullopt;
}

std::optional<int> PositiveInt(const QCommandLineParser& parser, const QString& option,
                               int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int v = parser.value(option).toInt(&ok);
    if (!ok || v <= 0)
        return std::nullopt;
    return v;
}

// Builds the start of the chosen mode; on a mistake sets *exitCode and returns nothing.
std::optional<PlannedStart> PlanStart(const QCommandLineParser& parser,
                                      const SettingsValues& settings, int* exitCode)
{
    const QString mode = parser.value(QStringLiteral("mode"));
    const std::optional<int> trigger = TriggerFrom(parser, settings);
    if (!trigger) {
        *exitCode = UsageError(Name, QStringLiteral("--trigger is computer, rise or fall"));
        return std::nullopt;
    }
    if (mode == QLatin1String("1mhz"))
        return PlannedStart{Start1MHz(*trigger)};
    if (mode == QLatin1String("07mhz"))
        return PlannedStart{Start07MHz(*trigger)};
    if (mode == QLatin1String("alt"))
        return PlannedStart{StartAlt()};
    if (mode == QLatin1String("ft")) {
        const FtOutcome ft = RunFtCalculator(parser, settings);
        if (!ft.error.isEmpty()) {
            *exitCode = ft.usageError ? UsageError(Name, ft.error) : Failure(ft.error);
            return std::nullopt;
        }
        return PlannedStart{StartFT(*trigger, ft.SRAMblocks, ft.pair.d1, ft.pair.d2)};
    }
    if (mode == QLatin1String("extf")) {
        const std::optional<int> hz = PositiveInt(parser, QStringLiteral("ext-freq"), settings.seFExtrn);
        const std::optional<int> samples =
            PositiveInt(parser, QStringLiteral("samples"), settings.seSamplesFExtrn);
        // Fewer than one block would ask the board for none; the block code has room for eight.
        if (!hz || !samples || *samples < 30000 || *samples > 240000) {
            *exitCode = UsageError(
                Name, QStringLiteral("--ext-freq needs a positive number, --samples 30000..240000"));
            return std::nullopt;
        }
        return PlannedStart{StartExtF(*samples, *hz)};
    }
    if (mode == QLatin1String("adxl")) {
        const QString channels = parser.value(QStringLiteral("channels"));
        const bool x = channels.contains(QLatin1Char('x'));
        const bool y = channels.contains(QLatin1Char('y'));
        bool ok = false;
        const int k = parser.value(QStringLiteral("duration-index")).toInt(&ok);
        if (!(channels == QLatin1String("x") || channels == QLatin1String("y") ||
              channels == QLatin1String("xy")) || !ok || k < 0 || k > 7) {
            *exitCode = UsageError(Name, QStringLiteral("--channels is x, y or xy; --duration-index 0..7"));
            return std::nullopt;
        }
        // The start-up period: the program has not heard the board's own yet.
        const int seconds = AccelBlockSecondsFor(0.0007);
        return PlannedStart{StartADXL(*trigger, k, x, y, seconds).start, true};
    }
    *exitCode = UsageError(Name, QStringLiteral("--mode is 1mhz, 07mhz, alt, ft, extf or adxl"));
    return std::nullopt;
}

}  // namespace

int RunMeasure(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Take one measurement and save it."));
    AddLinkOptions(parser);
    AddSettingsOption(parser);
    AddFtOptions(parser);
    parser.addOption({QStringLiteral("mode"), QStringLiteral("1mhz, 07mhz, alt, ft, extf or adxl."),
                      QStringLiteral("MODE")});
    parser.addOption({QStringLiteral("trigger"), QStringLiteral("computer, rise or fall (default: the settings' trigger type)."),
                      QStringLiteral("WHEN")});
    parser.addOption({QStringLiteral("ext-freq"), QStringLiteral("External clock, Hz (extf)."),
                      QStringLiteral("HZ")});
    parser.addOption({QStringLiteral("samples"), QStringLiteral("Samples on the external clock (extf)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("channels"), QStringLiteral("x, y or xy (adxl)."),
                      QStringLiteral("LIST"), QStringLiteral("xy")});
    parser.addOption({QStringLiteral("duration-index"), QStringLiteral("Duration entry 0..7 (adxl)."),
                      QStringLiteral("K"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("comment"), QStringLiteral("Comment stored in the file."),
                      QStringLiteral("TEXT")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("File to write (.txt: text export)."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print a summary object on stdout.")});
    if (const int rc = ParseArguments(parser, arguments, Name); rc >= 0)
        return rc;
    if (!parser.isSet(QStringLiteral("mode")))
        return UsageError(Name, QStringLiteral("--mode is required"));
    if (parser.value(QStringLiteral("o")).isEmpty())
        return UsageError(Name, QStringLiteral("-o FILE is required"));

    const SettingsValues settings = SettingsFrom(parser);
    int exitCode = ExitOk;
    const std::optional<PlannedStart> plan = PlanStart(parser, settings, &exitCode);
    if (!plan)
        return exitCode;

    std::unique_ptr<SerialPort> port = ConnectFromOptions(parser);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    ArrayRunLimits limits;
    limits.MeasureTimeMs = plan->start.MeasureTimeMs;
    limits.TransferTimeMs = plan->start.TransferTimeMs;
    limits.waitsForEdge = (cmd::FirstByte(plan->start.command) & 0x60) != 0;
    ArrayRunStats stats;
    QString error;
    const bool ok = RunArray(acq, [&] {
        acq.applyStart(plan->start);
        acq.BeginAcquisition();
    }, limits, true, &stats, &error);
    port->close();
    if (!ok)
        return Failure(error);

    return SaveArrayRun(acq, plan->AccelerometerMode, stats, parser, settings);
}

}  // namespace korvel::cli
