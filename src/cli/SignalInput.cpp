#include "cli/SignalInput.h"

#include "cli/CliSupport.h"
#include "files/DataFileIo.h"
#include "text/NumberFormat.h"

#include <cmath>
#include <limits>

namespace korvel::cli {

namespace {

std::optional<double> number(const QCommandLineParser& parser, const QString& option)
{
    bool ok = false;
    const double v = parser.value(option).toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

void AddSignalOptions(QCommandLineParser& parser)
{
    AddSettingsOption(parser);
    parser.addOption({QStringLiteral("display-mode"),
                      QStringLiteral("0 values/time, 1 ADC/samples, 2 values/samples, 3 ADC/time."),
                      QStringLiteral("M")});
    parser.addOption({QStringLiteral("from"),
                      QStringLiteral("First X of the stretch, in the chart's X unit."),
                      QStringLiteral("X")});
    parser.addOption({QStringLiteral("to"),
                      QStringLiteral("Last X of the stretch, in the chart's X unit."),
                      QStringLiteral("X")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data file."));
}

std::optional<SignalInput> ReadSignalInput(const QCommandLineParser& parser, const QString& name,
                                           int* rc)
{
    if (parser.positionalArguments().size() != 1) {
        *rc = UsageError(name, QStringLiteral("name one data file"));
        return std::nullopt;
    }
    const SettingsValues settings = SettingsFrom(parser);
    int mode = settings.cbShowK;
    if (parser.isSet(QStringLiteral("display-mode"))) {
        bool ok = false;
        mode = parser.value(QStringLiteral("display-mode")).toInt(&ok);
        if (!ok || mode < 0 || mode > 3) {
            *rc = UsageError(name, QStringLiteral("--display-mode is 0, 1, 2 or 3"));
            return std::nullopt;
        }
    }
    SignalInput in;
    in.from = -std::numeric_limits<double>::infinity();
    in.to = std::numeric_limits<double>::infinity();
    for (const auto& [option, target] : {std::pair{QStringLiteral("from"), &in.from},
                                         std::pair{QStringLiteral("to"), &in.to}}) {
        if (!parser.isSet(option))
            continue;
        const std::optional<double> v = number(parser, option);
        if (!v) {
            *rc = UsageError(name, QStringLiteral("--%1 takes a number").arg(option));
            return std::nullopt;
        }
        *target = *v;
    }
    if (in.from > in.to) {
        *rc = UsageError(name, QStringLiteral("--from is above --to"));
        return std::nullopt;
    }

    const DataFileLoadResult r = LoadDataFile(parser.positionalArguments().front());
    if (!r.file) {
        *rc = Failure(r.error->message);
        return std::nullopt;
    }
    const LoadedDataFile& f = *r.file;
    const XUnit unit = CalcScales(settings.cbXscale, 1);
    RecordData record;
    record.SampleBuffer = f.SampleBuffer;
    record.DataKind = f.header.DataKind;
    record.ModeCommand = f.ModeCommand;
    record.SamplePeriod = f.header.SamplePeriod;
    // A loaded file is plotted with the coefficients it carries; an accelerometer file carries
    // none and is plotted with those in force, the settings'.
    ScaleCoefficients scale{f.ScaleK, f.ScaleShift};
    if (f.header.Variant != VariantOrdinary) {
        try {
            scale = GetScaleParams(ScaleInputsFrom(settings, unit.XUnitName)).coefficients;
        } catch (const ConversionError& e) {
            *rc = Failure(e.message());
            return std::nullopt;
        }
    }
    in.signal = PlotSignal(record, {mode, unit.XUnitFactor, scale});
    in.titles = AxisTitlesFor(mode, f.AxisYName, unit.XUnitName);
    return in;
}

QString JsonNumber(double v)
{
    return std::isfinite(v) ? QString::number(v, 'g', 17) : QStringLiteral("null");
}

}  // namespace korvel::cli
