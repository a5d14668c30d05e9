// korvel-cli stats FILE [--from X --to X] [--display-mode M] [--integrate velocity|displacement]
//                [--low-cut HZ] [--json]
// The measurements of a data file's signal, as the window's spectrum shows them.

#include "cli/ExitCodes.h"
#include "cli/FileSignal.h"
#include "cli/Json.h"
#include "cli/Printed.h"
#include "cli/SpectrumOptions.h"
#include "cli/Subcommands.h"
#include "spectrum/SignalAnalysis.h"

#include <QTextStream>
#include <algorithm>
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
    // A stretch without points has no values, not zeros.
    const double none = std::nan("");
    const bool any = m.count > 0;
    return {{"count", double(m.count)},
            {"minimum", any ? m.minimum : none},
            {"maximum", any ? m.maximum : none},
            {"peak_to_peak", any ? m.peakToPeak : none},
            {"mean", any ? m.mean : none},
            {"rms", any ? m.rms : none},
            {"ac_rms", any ? m.acRms : none},
            {"crest_factor", m.crestFactor},
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
            "в единицах оси Y; для двухканального файла акселерометра по каналам X и Y. С "
            "--integrate — измерения скорости или перемещения, полученных из ускорения."));
    AddSignalOptions(cl);
    cl.addOption({QStringLiteral("integrate"),
                  QStringLiteral("velocity (скорость) или displacement (перемещение) из ускорения, "
                                 "интегрированием в частотной области."),
                  QStringLiteral("ВЕЛИЧИНА")});
    cl.addOption({QStringLiteral("low-cut"),
                  QStringLiteral("Частота среза интегрирования, Гц (по умолчанию 10)."), QStringLiteral("ГЦ")});
    cl.addOption({QStringLiteral("json"), QStringLiteral("Один объект JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    AnalysisOptions options;
    options.spectrum.integration.quantity = static_cast<Quantity>(
        cl.choice(QStringLiteral("integrate"), {QStringLiteral("none"), QStringLiteral("velocity"),
                                                QStringLiteral("displacement")}, 0));
    options.spectrum.integration.lowCutHz = cl.real(QStringLiteral("low-cut"), 0.0, 1e7, 10.0);
    int rc = ExitOk;
    const std::optional<SignalInput> in = ReadSignalInput(cl, &rc);
    if (!in)
        return rc;
    const SignalAnalysis a = AnalyseSignal(in->signal, in->limits.from, in->limits.to, options,
                                           in->titles.left);
    const bool integrated = options.spectrum.integration.quantity != Quantity::Acceleration;
    if (integrated && !CheckSampleRate(a, cl.positional().front()))
        return ExitFailure;
    const bool empty = std::any_of(a.channels.begin(), a.channels.end(),
                                   [](const ChannelAnalysis& c) { return c.measurements.count == 0; });

    QTextStream out(stdout);
    if (cl.isSet(QStringLiteral("json"))) {
        JsonFields j;
        if (a.channels.size() == 1) {
            j = jsonObject(a.channels.front());
        } else {
            JsonFields channels;
            for (size_t c = 0; c < a.channels.size(); ++c)
                channels.add(ChannelName(a, c), jsonObject(a.channels[c]));
            j.add("channels", channels);
        }
        if (integrated)
            j.add("quantity", QuantityWord(options.spectrum.integration.quantity)).add("unit", a.unit.unit);
        out << j.text() << '\n';
    } else {
        for (size_t c = 0; c < a.channels.size(); ++c) {
            const QString prefix = ChannelName(a, c).isEmpty() ? QString() : ChannelName(a, c) + '.';
            for (const Field& f : fieldsOf(a.channels[c]))
                out << prefix << f.key << ": " << QString::number(f.value, 'g', 10) << '\n';
            if (integrated)
                out << prefix << "unit: " << a.unit.unit << '\n';
        }
    }
    out.flush();
    if (empty)
        return Failure(QStringLiteral("%1: на участке --from/--to нет ни одной точки").arg(cl.positional().front()));
    ReportVibrationLimits(a);
    return ExitOk;
}

}  // namespace korvel::cli
