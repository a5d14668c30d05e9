#include "spectrum/CursorReadout.h"

#include "chart/Readout.h"
#include "record/BoardWords.h"
#include "record/DigitalLineNames.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace korvel {

namespace {

bool hasDigitalLines(PlotKind kind)
{
    return kind == PlotKind::Ordinary || kind == PlotKind::RealTime;
}

// Enough decimals to tell two neighbouring samples apart.
int xDecimals(double step)
{
    if (step == std::nearbyint(step))
        return 0;
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step))) + 1, 0, 9);
}

// Five significant digits of the largest value, in fixed notation.
int valueDecimals(double largest)
{
    if (!(largest > 0.0) || !std::isfinite(largest))
        return 2;
    return std::clamp(4 - static_cast<int>(std::floor(std::log10(largest))), 0, 6);
}

QString text(double v, int decimals)
{
    return std::isfinite(v) ? FormatFixed(v, decimals) : QStringLiteral("—");
}

CursorPoint pointAt(const PlottedSignal& s, qsizetype index, const CursorAxis& axis)
{
    CursorPoint p;
    p.index = index;
    p.x = static_cast<double>(index) * axis.step;
    for (const SignalChannel& c : s.channels)
        p.y.push_back(index < c.points.y.size() ? c.points.y[index]
                                                : std::numeric_limits<double>::quiet_NaN());
    if (hasDigitalLines(s.kind) && !s.channels.empty()
        && size_t(index) < s.channels.front().words.size()) {
        const quint16 word = s.channels.front().words[size_t(index)];
        for (int line = 0; line < 3; ++line)
            if (axis.linesShown[line])
                p.lines[line] = LineHigh(word, line);
    }
    return p;
}

QString channelLabel(const PlottedSignal& s, size_t channel)
{
    if (s.channels.size() < 2)
        return QStringLiteral("Y");
    return channel == 0 ? QStringLiteral("канал X") : QStringLiteral("канал Y");
}

}  // namespace

qsizetype CursorIndexAt(double x, double step, qsizetype count)
{
    if (count <= 0)
        return 0;
    const std::optional<long long> i = SampleIndexAt(x, step);
    if (!i)
        return x > 0 && step > 0 ? count - 1 : 0;
    return static_cast<qsizetype>(std::clamp<long long>(*i, 0, count - 1));
}

CursorReadout ReadCursors(const PlottedSignal& signal, qsizetype a, qsizetype b,
                          const CursorAxis& axis)
{
    CursorReadout r;
    r.a = pointAt(signal, a, axis);
    r.b = pointAt(signal, b, axis);
    r.dx = r.b.x - r.a.x;
    const double seconds = std::fabs(r.dx) * axis.XUnitFactor * 1e-6;
    if (axis.time && seconds > 0.0)
        r.frequencyHz = 1.0 / seconds;

    const qsizetype first = std::min(a, b);
    const qsizetype last = std::max(a, b);
    double largest = 0.0;
    for (size_t c = 0; c < signal.channels.size(); ++c) {
        const QVector<double>& y = signal.channels[c].points.y;
        r.dy.push_back(r.b.y[c] - r.a.y[c]);
        const qsizetype from = std::min(first, y.size());
        const qsizetype to = std::min(last + 1, y.size());
        r.stretch.push_back(Measure(std::span<const double>(y.constData() + from, size_t(to - from))));
        const Measurements& m = r.stretch.back();
        if (m.count > 0)
            largest = std::max({largest, std::fabs(m.minimum), std::fabs(m.maximum)});
    }

    // The lines of the box.
    const int xd = xDecimals(axis.step);
    const int yd = valueDecimals(largest);
    const QString unit = axis.time && !axis.unit.isEmpty() ? QStringLiteral(" ") + axis.unit : QString();
    for (const CursorPoint* p : {&r.a, &r.b}) {
        QStringList parts{(p == &r.a ? QStringLiteral("A: X = ") : QStringLiteral("B: X = "))
                          + text(p->x, xd) + unit};
        for (size_t c = 0; c < p->y.size(); ++c)
            parts << channelLabel(signal, c) + QStringLiteral(" = ") + text(p->y[c], yd);
        for (int line = 0; line < 3; ++line)
            if (p->lines[line])
                parts << DigitalLineName(line) + (*p->lines[line] ? QStringLiteral(" H") : QStringLiteral(" L"));
        r.lines << parts.join(QStringLiteral("; "));
    }
    QString delta = (axis.time ? QStringLiteral("Δt = ") : QStringLiteral("ΔX = ")) + text(r.dx, xd) + unit;
    if (r.frequencyHz)
        delta += QStringLiteral("; 1/Δt = ") + text(*r.frequencyHz, valueDecimals(*r.frequencyHz) + 1)
                 + QStringLiteral(" Гц");
    r.lines << delta;
    QStringList dys;
    for (size_t c = 0; c < r.dy.size(); ++c)
        dys << (signal.channels.size() < 2 ? QStringLiteral("ΔY = ")
                                           : QStringLiteral("ΔY, ") + channelLabel(signal, c) + QStringLiteral(" = "))
                   + text(r.dy[c], yd);
    if (!dys.isEmpty())
        r.lines << dys.join(QStringLiteral("; "));
    for (size_t c = 0; c < r.stretch.size(); ++c) {
        const Measurements& m = r.stretch[c];
        const QString head = signal.channels.size() < 2
                                 ? QStringLiteral("Между A и B: ")
                                 : QStringLiteral("Между A и B, ") + channelLabel(signal, c) + QStringLiteral(": ");
        r.lines << head + QStringLiteral("мин ") + text(m.minimum, yd) + QStringLiteral("; макс ")
                       + text(m.maximum, yd) + QStringLiteral("; размах ") + text(m.peakToPeak, yd)
                       + QStringLiteral("; среднее ") + text(m.mean, yd) + QStringLiteral("; СКЗ ")
                       + text(m.rms, yd);
    }
    return r;
}

}  // namespace korvel
