#include "chart/PlottedSignal.h"

#include "record/BoardWords.h"

#include <QtEndian>
#include <algorithm>

namespace korvel {

namespace {

std::vector<quint16> wordsOf(QByteArrayView bytes, qsizetype first, qsizetype count)
{
    std::vector<quint16> w(static_cast<size_t>(count));
    qFromLittleEndian<quint16>(bytes.data() + 2 * first, count, w.data());
    return w;
}

}  // namespace

PlottedSignal PlotSignal(const Recording& record, const SignalView& view)
{
    PlottedSignal s;
    s.kind = PlotKindOf(record.ModeCommand);
    DisplayOptions o;
    o.displayMode = view.displayMode;
    o.XUnitFactor = view.XUnitFactor;

    if (s.kind == PlotKind::RealTime) {
        const RealTimePlot p = BuildRealTimePlot(record, 0.0, o, view.scale, false);
        const std::span<const quint16> points = record.realTimePoints();
        s.channels.push_back({p.Series1, std::vector<quint16>(points.begin(), points.end())});
        if (const std::span<const qint16> t = record.realTimeTemperatures();
            view.realTimeTemperature && !t.empty())
            s.temperature.assign(t.begin(), t.end());
        s.samplePeriodSeconds = record.SamplePeriod * 1e-6;
        return s;
    }

    const ChartPlot p = BuildChartPlot(record, o, view.scale, ZoomState{});
    const QByteArrayView bytes(record.SampleBuffer);
    const qsizetype words = bytes.size() / 2;

    switch (s.kind) {
    case PlotKind::Ordinary: {
        s.samplePeriodSeconds = record.SamplePeriod * 1e-6;
        const qsizetype n = p.Series1.size();
        s.channels.push_back({p.Series1, wordsOf(bytes, 0, n)});
        if (record.DataKind == DataKindWithTemperature) {
            const std::vector<quint16> t = wordsOf(bytes, n, n);
            s.temperature.assign(t.begin(), t.end());
        }
        break;
    }
    case PlotKind::AccelerometerOneChannel:
        s.samplePeriodSeconds = record.AccelPeriod;
        s.channels.push_back({p.Series1, wordsOf(bytes, 0, words)});
        break;
    case PlotKind::AccelerometerTwoChannels: {
        s.samplePeriodSeconds = record.AccelPeriod;
        // Split by channel as the plot splits them.
        std::vector<quint16> all = wordsOf(bytes, 0, words);
        const auto y = std::stable_partition(all.begin(), all.end(), IsAccelX);
        s.channels.push_back({p.Series1, std::vector<quint16>(all.begin(), y)});
        s.channels.push_back({p.Series2, std::vector<quint16>(y, all.end())});
        break;
    }
    case PlotKind::RealTime:
        break;
    }
    return s;
}

IndexRange PointsWithin(const PointSeries& series, double from, double to)
{
    const auto begin = std::lower_bound(series.x.cbegin(), series.x.cend(), from);
    const auto end = std::upper_bound(begin, series.x.cend(), to);
    return {begin - series.x.cbegin(), std::max<qsizetype>(0, end - begin)};
}

}  // namespace korvel
