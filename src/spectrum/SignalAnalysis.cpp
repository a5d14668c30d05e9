#include "spectrum/SignalAnalysis.h"

#include "text/NumberFormat.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

QString significant(double v, int digits = 5)
{
    if (!std::isfinite(v))
        return QStringLiteral("—");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(v, 'g', digits);
}

}  // namespace

QString AmplitudeText(double amplitude, bool decibels)
{
    return decibels ? FormatFixed(ToDecibels(amplitude), 1) + QStringLiteral(" дБ")
                    : significant(amplitude);
}

QString FrequencyText(const FrequencyAxis& axis, double hz)
{
    return FormatFixed(hz / axis.hzPerUnit, axis.decimals) + ' ' + axis.unit;
}

SignalAnalysis AnalyseSignal(const PlottedSignal& signal, double from, double to,
                             const SpectrumOptions& options)
{
    SignalAnalysis a;
    a.sampleRateHz = signal.samplePeriodSeconds > 0.0 ? 1.0 / signal.samplePeriodSeconds : 0.0;
    for (const SignalChannel& c : signal.channels) {
        ChannelAnalysis ch;
        ch.range = PointsWithin(c.points, from, to);
        const std::span<const double> y(c.points.y.constData() + ch.range.first,
                                        size_t(ch.range.count));
        ch.spectrum = ComputeSpectrum(y, a.sampleRateHz, options);
        ch.measurements = Measure(y);
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

SpectrumPlot BuildSpectrumPlot(const SignalAnalysis& a, bool decibels, const QString& amplitudeTitle)
{
    SpectrumPlot p;
    p.decibels = decibels;
    const FrequencyAxis axis = FrequencyAxisFor(a);
    p.xTitle = axis.title;
    p.yTitle = decibels ? QStringLiteral("Амплитуда, дБ") : amplitudeTitle;
    for (size_t c = 0; c < a.channels.size(); ++c) {
        const Spectrum& s = a.channels[c].spectrum;
        SpectrumTrace t;
        t.points.y = decibels ? ToDecibels(s.amplitude) : s.amplitude;
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
                          + AmplitudeText(s.peak->amplitude, decibels);
        }
        p.traces.push_back(std::move(t));
    }
    return p;
}

QString ReadoutText(const SignalAnalysis& a, size_t channel, double x, bool decibels)
{
    if (channel >= a.channels.size())
        return QString();
    const Spectrum& s = a.channels[channel].spectrum;
    if (s.amplitude.isEmpty())
        return QString();
    const FrequencyAxis axis = FrequencyAxisFor(a);
    const long long nearest = Round(x * axis.hzPerUnit / s.resolutionHz);
    const int bin = int(std::clamp<long long>(nearest, 0, s.amplitude.size() - 1));
    return QStringLiteral("f = ") + FrequencyText(axis, s.frequencyOf(bin)) + QStringLiteral(", A = ")
           + AmplitudeText(s.amplitude[bin], decibels);
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
            rows[r].values << (any ? significant(values[r]) : QStringLiteral("—"));
        rows[6].values << significant(m.crestFactor, 4);
        rows[7].values << (c.spectrum.peak ? FrequencyText(axis, c.spectrum.peak->frequencyHz)
                                           : QStringLiteral("—"));
    }
    return rows;
}

}  // namespace korvel
