#include "chart/SeriesBuilder.h"

#include "chart/Smoother.h"
#include "record/BoardWords.h"

#include <algorithm>
#include <limits>

namespace korvel {

namespace {

// Reads through a smoother only when smoothing is on.
class SmoothedReading {
public:
    explicit SmoothedReading(const DisplayOptions& o) : on_(o.cbInt), smoother_(o.seInt) {}
    long long operator()(int r) { return on_ ? smoother_.next(r) : r; }

private:
    bool on_;
    Smoother smoother_;
};

double accelX(long long i, const DisplayOptions& o, double AccelPeriod)
{
    if (!ShowsTime(o.displayMode))
        return static_cast<double>(i);
    return static_cast<double>(static_cast<long double>(i) * AccelPeriod * 1000000.0L /
                               o.XUnitFactor);
}

void plotOrdinary(ChartPlot& p, const Recording& d, const DisplayOptions& o,
                  const ScaleCoefficients& s, const ZoomState& zoom)
{
    const double step = XStepFor(o.displayMode, d.SamplePeriod, o.XUnitFactor);
    p.XStep = step;
    p.readoutStep = step;
    const bool withTemperature = d.DataKind == DataKindWithTemperature;
    const qsizetype n = d.SampleBuffer.size() / (withTemperature ? 4 : 2);

    auto signal = p.Series1.sized(n);
    SmoothedReading reading(o);
    double minY = std::numeric_limits<double>::infinity();
    double maxY = -minY;
    for (qsizetype i = 0; i < n; ++i) {
        const int r = Reading(SampleWordAt(d.SampleBuffer, i));
        const double y = ConvertReading(reading(r), o.displayMode, s);
        signal.put(SampleX(i, o.displayMode, d.SamplePeriod, o.XUnitFactor), y);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    if (n == 0)
        minY = maxY = 0.0;

    p.digital = CalcDigitalLevels(zoom, minY, maxY, o.XUnitFactor);
    const DigitalLevels& lv = p.digital->levels;

    // The three lines share one X list (implicitly shared, so computed and stored once).
    QVector<double> digitalX;
    for (int line = 0; line < 3; ++line) {
        if (!o.cbDgt[line])
            continue;
        PointSeries& out = p.SeriDgt[line];
        if (digitalX.isEmpty() && n > 0) {
            digitalX.resize(n);
            double* x = digitalX.data();
            for (qsizetype i = 0; i < n; ++i)
                x[i] = static_cast<double>(static_cast<long double>(i) * step);
        }
        out.x = digitalX;
        out.y.resize(n);
        double* y = out.y.data();
        const double high = lv.high[line];
        const double low = lv.low[line];
        for (qsizetype i = 0; i < n; ++i)
            y[i] = LineHigh(SampleWordAt(d.SampleBuffer, i), line) ? high : low;
    }

    if (withTemperature) {
        auto termo = p.SeriTermo.sized(n);
        for (qsizetype i = 0; i < n; ++i) {
            const auto t = static_cast<qint16>(SampleWordAt(d.SampleBuffer, n + i));
            termo.put(SampleX(i, o.displayMode, d.SamplePeriod, o.XUnitFactor), t / 4.0);
        }
    }
}

void plotAccelOneChannel(ChartPlot& p, const Recording& d, const DisplayOptions& o,
                         const ScaleCoefficients& s)
{
    const qsizetype n = d.SampleBuffer.size() / 2;
    p.series1TakesSeries2Colour = o.cbY;
    auto out = p.Series1.sized(n);
    SmoothedReading reading(o);
    for (qsizetype i = 0; i < n; ++i) {
        const int r = Reading(SampleWordAt(d.SampleBuffer, i));
        out.put(accelX(i, o, d.AccelPeriod), ConvertReading(reading(r), o.displayMode, s));
    }
}

void plotAccelTwoChannels(ChartPlot& p, const Recording& d, const DisplayOptions& o,
                          const ScaleCoefficients& s)
{
    const qsizetype n = d.SampleBuffer.size() / 2;
    qsizetype xCount = 0;
    for (qsizetype k = 0; k < n; ++k)
        if (IsAccelX(SampleWordAt(d.SampleBuffer, k)))
            ++xCount;
    auto outX = p.Series1.sized(xCount);
    auto outY = p.Series2.sized(n - xCount);

    SmoothedReading readingX(o);
    SmoothedReading readingY(o);
    qsizetype i = 0;
    qsizetype j = 0;
    while (i + j < n) {
        const quint16 w = SampleWordAt(d.SampleBuffer, i + j);
        const int r = Reading(w);
        if (IsAccelX(w)) {
            const long long v = readingX(r) + AccelOffsetX;
            outX.put(accelX(i, o, d.AccelPeriod), ConvertReading(v, o.displayMode, s));
            ++i;
        } else {
            const long long v = readingY(r) + AccelOffsetY;
            outY.put(accelX(j, o, d.AccelPeriod), ConvertReading(v, o.displayMode, s));
            ++j;
        }
    }
}

}  // namespace

PlotKind PlotKindOf(QByteArrayView ModeCommand)
{
    switch (ModeOf(ModeCommand)) {
    case ModeKind::RealTime:
    case ModeKind::RealTimeWithTemperature:
        return PlotKind::RealTime;
    case ModeKind::Accelerometer: {
        const bool two = ModeCommand.size() >= 3 && static_cast<quint8>(ModeCommand[2]) == 3;
        return two ? PlotKind::AccelerometerTwoChannels : PlotKind::AccelerometerOneChannel;
    }
    default:
        return PlotKind::Ordinary;
    }
}

double AccelXStep(int displayMode, double AccelPeriod, int XUnitFactor)
{
    DisplayOptions o;
    o.displayMode = displayMode;
    o.XUnitFactor = XUnitFactor;
    return accelX(1, o, AccelPeriod);
}

ChartPlot BuildChartPlot(const Recording& data, const DisplayOptions& options,
                         const ScaleCoefficients& scale, const ZoomState& zoom)
{
    ChartPlot p;
    p.kind = PlotKindOf(data.ModeCommand);
    switch (p.kind) {
    case PlotKind::RealTime:
        break;
    case PlotKind::Ordinary:
        plotOrdinary(p, data, options, scale, zoom);
        break;
    case PlotKind::AccelerometerOneChannel:
        p.AccelerometerMode = true;
        p.readoutStep = AccelXStep(options.displayMode, data.AccelPeriod, options.XUnitFactor);
        plotAccelOneChannel(p, data, options, scale);
        break;
    case PlotKind::AccelerometerTwoChannels:
        p.AccelerometerMode = true;
        p.readoutStep = AccelXStep(options.displayMode, data.AccelPeriod, options.XUnitFactor);
        plotAccelTwoChannels(p, data, options, scale);
        break;
    }
    return p;
}

RealTimePlot BuildRealTimePlot(const Recording& record, double CurrentTemperature,
                               const DisplayOptions& o, const ScaleCoefficients& s,
                               bool appendNewest)
{
    const double SamplePeriod = record.SamplePeriod;
    RealTimePlot p;
    p.XStep = XStepFor(o.displayMode, SamplePeriod, o.XUnitFactor);
    p.rebuild = !appendNewest;
    p.RealTimeCount = record.RealTimeCount;
    const auto& signal = record.RealTimeSignal;
    const auto stored = static_cast<long long>(signal.size());

    // The points to plot: the newest one, or all counted so far; never past the table.
    long long first = 0;
    long long end = 0;
    if (appendNewest) {
        const long long k = record.RealTimeCount;
        if (record.realTimeState == Recording::RealTimeState::Counting && k < stored) {
            first = k;
            end = k + 1;
            p.RealTimeCount = record.RealTimeCount + 1;
        }
    } else {
        end = std::clamp<long long>(record.RealTimeCount, 0, stored);
    }

    p.Series1.reserve(end - first);
    for (long long i = first; i < end; ++i)
        p.Series1.append(SampleX(i, o.displayMode, SamplePeriod, o.XUnitFactor),
                         ConvertReading(Reading(signal[i]), o.displayMode, s));
    if (appendNewest && end > first && o.cbTermo)
        p.SeriTermo.append(SampleX(first, o.displayMode, SamplePeriod, o.XUnitFactor),
                           CurrentTemperature);

    p.showSecondary = o.cbDgt[0] || o.cbDgt[1] || o.cbDgt[2];
    if (!p.showSecondary)
        return p;
    for (int line = 0; line < 3; ++line) {
        p.secondaryLine[line] = o.cbDgt[line];
        if (!o.cbDgt[line])
            continue;
        PointSeries& out = p.secondaryDgt[line];
        out.reserve(end - first);
        for (long long i = first; i < end; ++i)
            out.append(static_cast<double>(static_cast<long double>(i) * p.XStep),
                       LineHigh(signal[i], line) ? SecondaryHigh[line] : SecondaryLow[line]);
    }
    return p;
}

}  // namespace korvel
