#include "chart/Readout.h"

#include "record/BoardWords.h"
#include "text/NumberFormat.h"

#include <cmath>

namespace korvel {

std::optional<long long> SampleIndexAt(double x, double step)
{
    const double ratio = x / step;
    // A zero step or a mouse far off the axis gives no index; llrint would be undefined there.
    if (!std::isfinite(ratio) || std::fabs(ratio) > 1e15)
        return std::nullopt;
    return Round(ratio);
}

std::optional<ReadoutTexts> Chart1MouseMoveReadout(const ReadoutInput& in)
{
    if (!in.ReadoutOn || !(in.bottomAxisMax > 1.0) || in.series1Y == nullptr)
        return std::nullopt;
    const std::optional<long long> index = SampleIndexAt(in.mouseValue, in.XStep);
    if (!index)
        return std::nullopt;
    const long long c = *index;
    if (c < 0 || c > in.lastVisibleIndex || c >= in.series1Y->size())
        return std::nullopt;

    ReadoutTexts t;
    t.index = static_cast<qsizetype>(c);
    t.panel1 = Format(u"X=%f, Y=%f", {static_cast<double>(c) * in.XStep, in.series1Y->at(t.index)});
    t.panel2 = QStringLiteral("Цифровые сигналы: ");
    for (int line = 0; line < 3; ++line) {
        const QVector<double>* y = in.dgtY[line];
        // A checked line with no point here (accelerometer data has none) reads as unknown.
        if (!in.cbDgt[line] || y == nullptr || t.index >= y->size())
            t.panel2 += QStringLiteral("x ");
        else
            t.panel2 += y->at(t.index) > in.DigitalCentre ? QStringLiteral("H ")
                                                          : QStringLiteral("L ");
    }
    return t;
}

StatusClickResult statusClick(bool ReadoutOn, QByteArrayView ModeCommand)
{
    StatusClickResult r;
    r.ReadoutOn = !ReadoutOn;
    if (!r.ReadoutOn) {
        r.panel1 = QStringLiteral("Щелкните для отображения X,Y");
        r.panel2 = QString();
    }
    if (IsRealTime(ModeCommand)) {
        r.ReadoutOn = false;
        r.panel1 = QString();
        r.panel2 = QString();
    }
    return r;
}

}  // namespace korvel
