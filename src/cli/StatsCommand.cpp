// korvel-cli stats FILE [--from X --to X] [--display-mode M] [--json]
// The measurements of a data file's signal, as the window's spectrum shows them.

#include "cli/CliSupport.h"
#include "cli/SignalInput.h"
#include "cli/Subcommands.h"
#include "spectrum/SignalAnalysis.h"

#include <QTextStream>

namespace korvel::cli {

namespace {

const QString Name = QStringLiteral("stats");

struct Field {
    const char* key;
    double value;
};

std::vector<Field> fieldsOf(const ChannelAnalysis& c)
{
    const Measurements& m = c.measurements;
    const double dominant = c.spectrum.peak ? c.spectrum.peak->frequencyHz : std::nan("");
    return {{"count", double(m.count)},     {"minimum", m.minimum}, {"maximum", m.maximum},
            {"peak_to_peak", m.peakToPeak}, {"mean", m.mean},       {"rms", m.rms},
            {"ac_rms", m.acRms},            {"crest_factor", m.crestFactor},
            {"dominant_frequency_hz", dominant}};
}

QString jsonObject(const ChannelAnalysis& c)
{
    QStringList parts;
    for (const Field& f : fieldsOf(c))
        parts << QStringLiteral("\"%1\":%2").arg(QLatin1String(f.key), JsonNumber(f.value));
    return '{' + parts.join(',') + '}';
}

}  // namespace

int RunStats(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measurements of a data file's signal."));
    AddSignalOptions(parser);
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print one JSON object.")});
    if (const int rc = ParseArguments(parser, arguments, Name); rc >= 0)
        return rc;
    int rc = ExitOk;
    const std::optional<SignalInput> in = ReadSignalInput(parser, Name, &rc);
    if (!in)
        return rc;
    const SignalAnalysis a = AnalyseSignal(in->signal, in->from, in->to, SpectrumOptions{});

    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("json"))) {
        if (a.channels.size() == 1) {
            out << jsonObject(a.channels.front()) << '\n';
        } else {
            QStringList parts;
            for (size_t c = 0; c < a.channels.size(); ++c)
                parts << JsonString(ChannelName(a, c)) + ':' + jsonObject(a.channels[c]);
            out << "{\"channels\":{" << parts.join(',') << "}}\n";
        }
        return ExitOk;
    }
    for (size_t c = 0; c < a.channels.size(); ++c) {
        const QString prefix = ChannelName(a, c).isEmpty() ? QString() : ChannelName(a, c) + '.';
        for (const Field& f : fieldsOf(a.channels[c]))
            out << prefix << f.key << ": " << QString::number(f.value, 'g', 10) << '\n';
    }
    return ExitOk;
}

}  // namespace korvel::cli
