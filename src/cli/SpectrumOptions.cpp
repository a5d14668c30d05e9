#include "cli/SpectrumOptions.h"

#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Printed.h"

#include <algorithm>
#include <cmath>

namespace korvel::cli {

namespace {

QStringList windowWords()
{
    return {QStringLiteral("hann"), QStringLiteral("rect"), QStringLiteral("flattop")};
}

QStringList scaleWords()
{
    return {QStringLiteral("amplitude"), QStringLiteral("rms"), QStringLiteral("psd"), QStringLiteral("asd")};
}

JsonFields peakJson(const SignalAnalysis& a, size_t channel, const SpectrumPeak& p, bool withOrder)
{
    JsonFields o;
    o.add("frequency_hz", p.frequencyHz).add("amplitude", PeakValue(a, channel, p));
    if (withOrder)
        o.add("order", p.order);
    return o;
}

// The channel's peak (null without one), its peak list and band when they were asked for.
JsonFields& addChannel(JsonFields& o, const SignalAnalysis& a, size_t channel)
{
    const ChannelAnalysis& c = a.channels[channel];
    if (c.spectrum.peak)
        o.add("peak", peakJson(a, channel, *c.spectrum.peak, false));
    else
        o.add("peak", QJsonValue());
    if (a.options.peaks > 0) {
        QList<JsonFields> list;
        for (const SpectrumPeak& p : c.peaks)
            list << peakJson(a, channel, p, true);
        o.add("peaks", list);
    }
    if (a.options.band) {
        JsonFields band;
        band.add("from_hz", a.options.band->fromHz).add("to_hz", a.options.band->toHz);
        const bool whole = c.band && c.band->reached;
        band.add("rms", whole ? QJsonValue(c.band->rms) : QJsonValue());
        if (!whole)
            band.add("nyquist_hz", c.spectrum.nyquistHz());
        o.add("band", band);
    }
    return o;
}

}  // namespace

QString WindowWord(WindowFunction f)
{
    const auto* at = std::find(std::begin(WindowFunctions), std::end(WindowFunctions), f);
    return windowWords().value(int(at - std::begin(WindowFunctions)));
}

QString ScaleWord(SpectrumScale s)
{
    return scaleWords().value(int(s));
}

QString QuantityWord(Quantity q)
{
    const QStringList words{QStringLiteral("acceleration"), QStringLiteral("velocity"),
                            QStringLiteral("displacement")};
    return words.value(int(q));
}

void AddSpectrumOptions(CommandLine& cl)
{
    cl.addOption({QStringLiteral("window"),
                  QStringLiteral("Оконная функция: hann (по умолчанию), rect или flattop (плоская вершина)."),
                  QStringLiteral("ОКНО")});
    cl.addOption({QStringLiteral("segment"),
                  QStringLiteral("Усреднение по Уэлчу сегментами из N точек (от 256 до 65536, любой "
                                 "длины); без него — одно преобразование."),
                  QStringLiteral("N")});
    cl.addOption({QStringLiteral("overlap"),
                  QStringLiteral("Перекрытие сегментов Уэлча в процентах: 0, 50 (по умолчанию) или 75."),
                  QStringLiteral("ПРОЦЕНТ")});
    cl.addOption({QStringLiteral("average"),
                  QStringLiteral("Усреднение сегментов: mean (среднее мощности, по умолчанию) или peak "
                                 "(пиковое удержание)."),
                  QStringLiteral("ВИД")});
    cl.addOption({QStringLiteral("scale"),
                  QStringLiteral("Шкала: amplitude (синус амплитуды A даёт A, по умолчанию), rms (A/√2), "
                                 "psd (спектральная плотность мощности, ед²/Гц, с поправкой на шумовую "
                                 "полосу окна: белый шум с СКО σ даёт 2σ²/fs) или asd (ед/√Гц)."),
                  QStringLiteral("ШКАЛА")});
    cl.addOption({QStringLiteral("db"),
                  QStringLiteral("Значения в дБ относительно 1 единицы (для psd — 1 ед²/Гц).")});
    cl.addOption({QStringLiteral("integrate"),
                  QStringLiteral("Из ускорения: velocity (скорость) или displacement (перемещение), "
                                 "интегрированием в частотной области; из м/с², м/с/с или g — в мм/с и "
                                 "мкм, из других единиц — в ед·с и ед·с²."),
                  QStringLiteral("ВЕЛИЧИНА")});
    cl.addOption({QStringLiteral("low-cut"),
                  QStringLiteral("Частота среза интегрирования, Гц (по умолчанию 10): ниже неё ничего "
                                 "не остаётся."),
                  QStringLiteral("ГЦ")});
    cl.addOption({QStringLiteral("band"),
                  QStringLiteral("СКЗ в полосе F1:F2 Гц по спектральной плотности, например 10:1000 "
                                 "(с --integrate velocity — СКЗ виброскорости)."),
                  QStringLiteral("F1:F2")});
    cl.addOption({QStringLiteral("peaks"),
                  QStringLiteral("Список N наибольших пиков (от 1 до 100) с их порядками относительно "
                                 "наибольшего."),
                  QStringLiteral("N")});
}

WindowFunction ReadWindowOption(CommandLine& cl)
{
    return WindowFunctions[size_t(cl.choice(QStringLiteral("window"), windowWords(), 0))];
}

SpectrumScale ReadScaleOption(CommandLine& cl)
{
    return SpectrumScales[size_t(cl.choice(QStringLiteral("scale"), scaleWords(), 0))];
}

int ReadOverlapOption(CommandLine& cl)
{
    const int percent = cl.integer(QStringLiteral("overlap"), 0, 75, 50);
    if (!IsOverlap(percent))
        cl.reject(QStringLiteral("--overlap %1: нужно 0, 50 или 75").arg(percent));
    return percent;
}

AnalysisOptions ReadSpectrumOptions(CommandLine& cl)
{
    AnalysisOptions o;
    o.spectrum.window = ReadWindowOption(cl);
    o.spectrum.segment = cl.integer(QStringLiteral("segment"), MinimumSegment, MaximumSegment, 0);
    o.spectrum.overlapPercent = ReadOverlapOption(cl);
    o.spectrum.averaging = cl.choice(QStringLiteral("average"), {QStringLiteral("mean"), QStringLiteral("peak")}, 0) == 1
                               ? Averaging::PeakHold
                               : Averaging::Mean;
    o.scale = ReadScaleOption(cl);
    o.decibels = cl.isSet(QStringLiteral("db"));
    o.spectrum.integration.quantity = static_cast<Quantity>(
        cl.choice(QStringLiteral("integrate"), {QStringLiteral("none"), QStringLiteral("velocity"),
                                                QStringLiteral("displacement")}, 0));
    o.spectrum.integration.lowCutHz = cl.real(QStringLiteral("low-cut"), 0.0, 1e7, 10.0);
    if (cl.isSet(QStringLiteral("band"))) {
        const QStringList ends = cl.value(QStringLiteral("band")).split(':');
        const double from = ends.size() == 2 ? DecimalNumber(ends[0]).value_or(-1.0) : -1.0;
        const double to = ends.size() == 2 ? DecimalNumber(ends[1]).value_or(-1.0) : -1.0;
        if (!(from >= 0.0) || !(to > from) || !std::isfinite(to))
            cl.reject(QStringLiteral("--band %1: нужны две частоты F1:F2 в Гц, 0 ≤ F1 < F2")
                          .arg(cl.value(QStringLiteral("band"))));
        else
            o.band = FrequencyBand{from, to};
    }
    o.peaks = cl.integer(QStringLiteral("peaks"), 1, 100, 0);
    return o;
}

JsonFields AnalysisJson(const SignalAnalysis& a)
{
    const Spectrum& first = a.channels.front().spectrum;
    const SpectrumOptions& o = a.options.spectrum;
    JsonFields j;
    j.add("sample_rate_hz", a.sampleRateHz)
        .add("bins", qsizetype(first.amplitude.size()))
        .add("resolution_hz", first.resolutionHz)
        .add("window", WindowWord(o.window))
        .add("segment", first.transformLength)
        .add("overlap_percent", first.segments > 1 ? o.overlapPercent : 0)
        .add("averages", first.segments)
        .add("average", o.averaging == Averaging::PeakHold ? QStringLiteral("peak") : QStringLiteral("mean"))
        .add("scale", ScaleWord(a.options.scale))
        .add("db", a.options.decibels)
        .add("quantity", QuantityWord(o.integration.quantity))
        .add("unit", ValueUnit(a));
    if (o.integration.quantity != Quantity::Acceleration)
        j.add("low_cut_hz", o.integration.lowCutHz);
    if (a.channels.size() == 1)
        return addChannel(j, a, 0);
    JsonFields channels;
    for (size_t c = 0; c < a.channels.size(); ++c) {
        JsonFields channel;
        channels.add(ChannelName(a, c), addChannel(channel, a, c));
    }
    return j.add("channels", channels);
}

bool CheckSampleRate(const SignalAnalysis& a, const QString& path)
{
    if (a.sampleRateHz > 0.0 && std::isfinite(a.sampleRateHz))
        return true;
    Failure(QStringLiteral("%1: период выборки в заголовке не положительное конечное число — частоту "
                           "выборки для спектра не найти")
                .arg(path));
    return false;
}

bool ReportVibrationLimits(const SignalAnalysis& a)
{
    const QString note = IntegrationNote(a);
    if (!a.unit.known && !note.isEmpty())
        PrintedMessages::print(note);
    if (!a.options.band)
        return true;
    for (const ChannelAnalysis& c : a.channels)
        if (c.band && !c.band->reached) {
            Failure(QStringLiteral("Полоса %1–%2 Гц не измерена: частота выборки записи даёт спектр только до "
                                   "%3 Гц")
                        .arg(a.options.band->fromHz)
                        .arg(a.options.band->toHz)
                        .arg(QString::number(c.spectrum.nyquistHz(), 'f', 1)));
            return false;
        }
    return true;
}

}  // namespace korvel::cli
