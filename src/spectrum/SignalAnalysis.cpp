#include "spectrum/SignalAnalysis.h"

#include "spectrum/Integration.h"
#include "text/NumberFormat.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// "⁻⁵": an exponent as a power of ten is written in a table.
QString superscript(int exponent)
{
    static constexpr char16_t digits[] = u"⁰¹²³⁴⁵⁶⁷⁸⁹";
    QString out = exponent < 0 ? QStringLiteral("⁻") : QString();
    for (const QChar c : QString::number(std::abs(exponent)))
        out += QChar(digits[c.digitValue()]);
    return out;
}

// Five significant digits; a value too small or large for them in plain digits is written
// "6,907·10⁻⁵", as a Russian table does, rather than the program-like "6,907E-05".
QString significant(double v, int digits = 5)
{
    if (!std::isfinite(v))
        return QStringLiteral("—");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString text = locale.toString(v, 'g', digits);
    const qsizetype e = text.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    if (e < 0)
        return text;
    return text.left(e) + QStringLiteral("·10") + superscript(text.mid(e + 1).toInt());
}

// A level the arithmetic cannot tell from zero next to the stretch's largest value: the mean
// of an integrated signal is 10⁻¹⁶ of it, not a reading.
double rounded(double v, const Measurements& m)
{
    const double floor = 1e-12 * std::max(std::fabs(m.minimum), std::fabs(m.maximum));
    return std::fabs(v) <= floor ? 0.0 : v;
}

// Harmonics read 1,00 2,00 …; a peak far below the highest keeps its digits instead of 0,00.
QString orderText(double order)
{
    return order < 0.01 ? significant(order, 2) : FormatFixed(order, 2);
}

// The short name of a value of the scale, as a read-out labels it.
QString symbolOf(SpectrumScale s)
{
    switch (s) {
    case SpectrumScale::Amplitude: return QStringLiteral("A");
    case SpectrumScale::Rms: return QStringLiteral("СКЗ");
    case SpectrumScale::Psd: return QStringLiteral("СПМ");
    case SpectrumScale::Asd: return QStringLiteral("АСП");
    }
    return QString();
}

// "скорости", "перемещения": what a scale's name is of.
QString ofQuantity(Quantity q)
{
    switch (q) {
    case Quantity::Velocity: return QStringLiteral(" скорости");
    case Quantity::Displacement: return QStringLiteral(" перемещения");
    case Quantity::Acceleration: break;
    }
    return QString();
}

QString bracketed(const QString& unit)
{
    const bool compound = unit.contains('/') || unit.contains(QChar(0x00B7)) || unit.contains(' ');
    return compound ? '(' + unit + ')' : unit;
}

QString linearUnit(const SignalAnalysis& a)
{
    const QString& u = a.unit.unit;
    switch (a.options.scale) {
    case SpectrumScale::Amplitude:
    case SpectrumScale::Rms: return u;
    case SpectrumScale::Psd: return bracketed(u) + QStringLiteral("²/Гц");
    case SpectrumScale::Asd: return u + QStringLiteral("/√Гц");
    }
    return u;
}

}  // namespace

SignalAnalysis AnalyseSignal(const PlottedSignal& signal, double from, double to,
                             const AnalysisOptions& options, const QString& amplitudeTitle)
{
    SignalAnalysis a;
    a.options = options;
    a.amplitudeTitle = amplitudeTitle;
    Integration& integration = a.options.spectrum.integration;
    a.unit = IntegratedUnitFor(amplitudeTitle, integration.quantity);
    integration.gain = a.unit.gain;
    a.sampleRateHz = signal.samplePeriodSeconds > 0.0 ? 1.0 / signal.samplePeriodSeconds : 0.0;
    for (const SignalChannel& c : signal.channels) {
        ChannelAnalysis ch;
        ch.range = PointsWithin(c.points, from, to);
        const std::span<const double> y(c.points.y.constData() + ch.range.first,
                                        size_t(ch.range.count));
        ch.spectrum = ComputeSpectrum(y, a.sampleRateHz, a.options.spectrum);
        if (integration.quantity == Quantity::Acceleration)
            ch.measurements = Measure(y);
        else
            ch.measurements = Measure(IntegrateSignal(y, a.sampleRateHz, integration));
        if (options.band && !ch.spectrum.amplitude.isEmpty())
            ch.band = ComputeBandRms(ch.spectrum, options.band->fromHz, options.band->toHz);
        if (options.peaks > 0)
            ch.peaks = FindPeaks(ch.spectrum, options.peaks);
        a.channels.push_back(std::move(ch));
    }
    return a;
}

QString ChannelName(const SignalAnalysis& a, size_t channel)
{
    if (a.channels.size() < 2)
        return QString();
    return channel == 0 ? QStringLiteral("X") : QStringLiteral("Y");
}

QString WindowFunctionName(WindowFunction f)
{
    switch (f) {
    case WindowFunction::Hann: return QStringLiteral("Ханн");
    case WindowFunction::Rectangular: return QStringLiteral("прямоугольное");
    case WindowFunction::FlatTop: return QStringLiteral("плоская вершина");
    }
    return QString();
}

QString ScaleName(SpectrumScale s)
{
    return s == SpectrumScale::Amplitude ? QStringLiteral("амплитуда") : symbolOf(s);
}

QString QuantityName(Quantity q)
{
    switch (q) {
    case Quantity::Acceleration: return QStringLiteral("Ускорение");
    case Quantity::Velocity: return QStringLiteral("Скорость");
    case Quantity::Displacement: return QStringLiteral("Перемещение");
    }
    return QString();
}

FrequencyAxis FrequencyAxisFor(const SignalAnalysis& a)
{
    FrequencyAxis axis;
    const bool kilo = a.sampleRateHz / 2 > 10000.0;
    axis.hzPerUnit = kilo ? 1000.0 : 1.0;
    axis.unit = kilo ? QStringLiteral("кГц") : QStringLiteral("Гц");
    axis.title = QStringLiteral("Частота, ") + axis.unit;
    double resolution = 0.0;
    for (const ChannelAnalysis& c : a.channels)
        if (c.spectrum.resolutionHz > 0.0)
            resolution = resolution > 0.0 ? std::min(resolution, c.spectrum.resolutionHz)
                                          : c.spectrum.resolutionHz;
    if (resolution > 0.0)
        axis.decimals = std::clamp(int(std::ceil(-std::log10(resolution / axis.hzPerUnit))) + 1, 0, 6);
    return axis;
}

QString ValueUnit(const SignalAnalysis& a)
{
    return a.options.decibels ? QStringLiteral("дБ отн. 1 ") + linearUnit(a) : linearUnit(a);
}

QString ValueTitle(const SignalAnalysis& a)
{
    const SpectrumScale s = a.options.scale;
    const Quantity q = a.options.spectrum.integration.quantity;
    // The signal's own amplitude keeps the main chart's title, when it has one.
    if (s == SpectrumScale::Amplitude && q == Quantity::Acceleration && !a.options.decibels)
        return a.amplitudeTitle.isEmpty() ? QStringLiteral("Амплитуда") : a.amplitudeTitle;
    const QString name = s == SpectrumScale::Amplitude ? QStringLiteral("Амплитуда") : symbolOf(s);
    return name + ofQuantity(q) + QStringLiteral(", ") + ValueUnit(a);
}

double ShownValue(const SignalAnalysis& a, size_t channel, int bin)
{
    const double v = ScaledValue(a.channels[channel].spectrum, bin, a.options.scale);
    return a.options.decibels ? ToDecibels(v, a.options.scale) : v;
}

double PeakValue(const SignalAnalysis& a, size_t channel, const SpectrumPeak& p)
{
    const Spectrum& s = a.channels[channel].spectrum;
    const double bin = s.amplitude[p.bin];
    const double v = bin > 0.0 ? ScaledValue(s, p.bin, a.options.scale) * (p.amplitude / bin)
                                     * (IsPowerScale(a.options.scale) ? p.amplitude / bin : 1.0)
                               : 0.0;
    return a.options.decibels ? ToDecibels(v, a.options.scale) : v;
}

QString ValueText(const SignalAnalysis& a, double shownValue)
{
    return a.options.decibels ? FormatFixed(shownValue, 1) + QStringLiteral(" дБ")
                              : significant(shownValue);
}

QString FrequencyText(const FrequencyAxis& axis, double hz)
{
    return FormatFixed(hz / axis.hzPerUnit, axis.decimals) + ' ' + axis.unit;
}

SpectrogramAxes SpectrogramAxesFor(double sampleRateHz, SpectrumScale scale, bool decibels,
                                   const QString& amplitudeTitle)
{
    SignalAnalysis names;
    names.sampleRateHz = sampleRateHz;
    names.options.scale = scale;
    names.options.decibels = decibels;
    names.unit = IntegratedUnitFor(amplitudeTitle, Quantity::Acceleration);
    names.amplitudeTitle = amplitudeTitle;
    return {FrequencyAxisFor(names), ValueTitle(names)};
}

SpectrumPlot BuildSpectrumPlot(const SignalAnalysis& a)
{
    SpectrumPlot p;
    p.decibels = a.options.decibels;
    const FrequencyAxis axis = FrequencyAxisFor(a);
    p.xTitle = axis.title;
    p.yTitle = ValueTitle(a);
    for (size_t c = 0; c < a.channels.size(); ++c) {
        const Spectrum& s = a.channels[c].spectrum;
        SpectrumTrace t;
        const QVector<double> values = ScaledValues(s, a.options.scale);
        t.points.y = a.options.decibels ? ToDecibels(values, a.options.scale) : values;
        t.points.x.resize(s.amplitude.size());
        for (qsizetype k = 0; k < t.points.x.size(); ++k)
            t.points.x[k] = s.frequencyOf(int(k)) / axis.hzPerUnit;
        if (s.peak) {
            t.hasPeak = true;
            t.peakX = s.peak->frequencyHz / axis.hzPerUnit;
            t.peakY = t.points.y[s.peak->bin];
            const QString name = ChannelName(a, c);
            t.peakLabel = (name.isEmpty() ? QString() : name + QStringLiteral(": "))
                          + FrequencyText(axis, s.peak->frequencyHz) + QStringLiteral(", ")
                          + ValueText(a, PeakValue(a, c, *s.peak));
        }
        p.traces.push_back(std::move(t));
    }
    return p;
}

QString ShownValueText(const SignalAnalysis& a, size_t channel, int bin)
{
    return symbolOf(a.options.scale) + QStringLiteral(" = ") + ValueText(a, ShownValue(a, channel, bin));
}

QString ReadoutText(const SignalAnalysis& a, size_t channel, double x)
{
    if (channel >= a.channels.size())
        return QString();
    const Spectrum& s = a.channels[channel].spectrum;
    if (s.amplitude.isEmpty())
        return QString();
    const FrequencyAxis axis = FrequencyAxisFor(a);
    const long long nearest = Round(x * axis.hzPerUnit / s.resolutionHz);
    const int bin = int(std::clamp<long long>(nearest, 0, s.amplitude.size() - 1));
    return QStringLiteral("f = ") + FrequencyText(axis, s.frequencyOf(bin)) + QStringLiteral(", ")
           + ShownValueText(a, channel, bin);
}

std::vector<MeasurementRow> MeasurementRows(const SignalAnalysis& a)
{
    const FrequencyAxis axis = FrequencyAxisFor(a);
    std::vector<MeasurementRow> rows = {
        {QStringLiteral("Минимум"), {}},       {QStringLiteral("Максимум"), {}},
        {QStringLiteral("Размах"), {}},        {QStringLiteral("Среднее"), {}},
        {QStringLiteral("СКЗ"), {}},           {QStringLiteral("СКЗ без среднего"), {}},
        {QStringLiteral("Пик-фактор"), {}},    {QStringLiteral("Доминирующая частота"), {}},
    };
    for (const ChannelAnalysis& c : a.channels) {
        const Measurements& m = c.measurements;
        const bool any = m.count > 0;
        const double values[] = {m.minimum, m.maximum, m.peakToPeak, m.mean, m.rms, m.acRms};
        for (size_t r = 0; r < std::size(values); ++r)
            rows[r].values << (any ? significant(rounded(values[r], m)) : QStringLiteral("—"));
        rows[6].values << significant(m.crestFactor, 4);
        rows[7].values << (c.spectrum.peak ? FrequencyText(axis, c.spectrum.peak->frequencyHz)
                                           : QStringLiteral("—"));
    }
    return rows;
}

QString MeasuredQuantity(const SignalAnalysis& a)
{
    const Quantity q = a.options.spectrum.integration.quantity;
    return q == Quantity::Acceleration ? QString() : QuantityName(q) + QStringLiteral(", ") + a.unit.unit;
}

std::optional<MeasurementRow> BandRow(const SignalAnalysis& a)
{
    if (!a.options.band)
        return std::nullopt;
    MeasurementRow row;
    row.caption = QStringLiteral("СКЗ%1 %2–%3 Гц, %4")
                      .arg(ofQuantity(a.options.spectrum.integration.quantity),
                           significant(a.options.band->fromHz, 6), significant(a.options.band->toHz, 6),
                           a.unit.unit);
    for (const ChannelAnalysis& c : a.channels) {
        if (!c.band)
            row.values << QStringLiteral("—");
        else if (!c.band->reached)
            row.values << QStringLiteral("выше %1 Гц нет данных")
                              .arg(significant(c.spectrum.nyquistHz(), 6));
        else
            row.values << significant(c.band->rms);
    }
    return row;
}

std::vector<PeakRow> PeakRows(const SignalAnalysis& a, size_t channel)
{
    std::vector<PeakRow> rows;
    if (channel >= a.channels.size())
        return rows;
    const FrequencyAxis axis = FrequencyAxisFor(a);
    for (const SpectrumPeak& p : a.channels[channel].peaks)
        rows.push_back({FrequencyText(axis, p.frequencyHz), ValueText(a, PeakValue(a, channel, p)),
                        orderText(p.order)});
    return rows;
}

QString IntegrationNote(const SignalAnalysis& a)
{
    const Integration& in = a.options.spectrum.integration;
    if (in.quantity == Quantity::Acceleration)
        return QString();
    QString note = QStringLiteral("%1 интегрированием в частотной области, ниже %2 Гц отброшено")
                       .arg(QuantityName(in.quantity), significant(in.lowCutHz, 6));
    if (!a.unit.known)
        note += QStringLiteral("; единица сигнала не ускорение (м/с², g): значения в %1").arg(a.unit.unit);
    return note;
}

}  // namespace korvel
