// korvel-cli stats FILE [--from X --to X] [--display-mode M] [--json]
// The measurements of a data file's signal, as the window's spectrum shows them.

#include "cli/ExitCodes.h"
#include "cli/FileSignal.h"
#include "cli/Json.h"
#include "cli/Subcommands.h"
#include "spectrum/SignalAnalysis.h"

#include <QTextStream>
#include <cmath>

namespace korvel::cli {

namespace {

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

JsonFields jsonObject(const ChannelAnalysis& c)
{
    JsonFields j;
    for (const Field& f : fieldsOf(c))
        j.add(f.key, f.value);
    return j;
}

}  // namespace

int RunStats(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("stats"), QStringLiteral("ФАЙЛ [параметры]"),
        QStringLiteral(
            "Измерения сигнала файла данных, как их показывает окно «Спектр»: минимум, максимум, "
            "размах, среднее, СКЗ, СКЗ без среднего, пик-фактор (наибольшее отклонение от "
            "среднего к СКЗ без среднего) и доминирующая частота (пик спектра с окном Ханна), "
            "в единицах оси Y; для двухканального файла акселерометра по каналам X и Y."));
    AddSignalOptions(cl);
    cl.addOption({QStringLiteral("json"), QStringLiteral("Один объект JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    int rc = ExitOk;
    const std::optional<SignalInput> in = ReadSignalInput(cl, &rc);
    if (!in)
        return rc;
    const SignalAnalysis a = AnalyseSignal(in->signal, in->limits.from, in->limits.to, {});

    QTextStream out(stdout);
    if (cl.isSet(QStringLiteral("json"))) {
        if (a.channels.size() == 1) {
            out << jsonObject(a.channels.front()).text() << '\n';
        } else {
            JsonFields channels;
            for (size_t c = 0; c < a.channels.size(); ++c)
                channels.add(ChannelName(a, c), jsonObject(a.channels[c]));
            out << JsonFields().add("channels", channels).text() << '\n';
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
