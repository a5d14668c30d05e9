#include "chartview/ReadableAxisTicker.h"

#include "chart/AxisTicks.h"

#include <qcustomplot.h>

namespace korvel {

namespace {

class ReadableAxisTicker : public QCPAxisTicker {
public:
    // The axis owns its ticker, so it outlives none of the calls made here.
    explicit ReadableAxisTicker(QCPAxis* axis) : axis_(axis) {}

    void generate(const QCPRange& range, const QLocale& locale, QChar, int, QVector<double>& ticks,
                  QVector<double>* subTicks, QVector<QString>* tickLabels) override
    {
        const bool horizontal = axis_->orientation() == Qt::Horizontal;
        const QFontMetricsF metrics(axis_->tickLabelFont());
        AxisTickSpace space;
        // The plotting area as the last layout left it; before the first, the whole chart.
        const QRect area = axis_->axisRect()->rect().isEmpty() ? axis_->parentPlot()->viewport()
                                                               : axis_->axisRect()->rect();
        space.lengthPixels = horizontal ? area.width() : area.height();
        space.gapPixels = horizontal ? metrics.horizontalAdvance(QStringLiteral("  ")) : metrics.height() / 2;
        space.minSpacingPixels = horizontal ? 60 : 30;
        const double height = metrics.height();
        // The plot hands over its locale with grouping switched off; the locale's own habit
        // decides here (a C locale groups nothing).
        const QLocale grouping(locale.language(), locale.script(), locale.territory());
        const AxisTicks t = ChooseAxisTicks(
            range.lower, range.upper, space,
            [&](const QString& label) { return horizontal ? metrics.horizontalAdvance(label) : height; },
            grouping);
        ticks = t.values;
        if (subTicks)
            *subTicks = createSubTickVector(t.subTicks, ticks);
        if (tickLabels)
            *tickLabels = t.labels;
    }

private:
    QCPAxis* axis_;
};

}  // namespace

void useReadableTicks(QCPAxis* axis)
{
    axis->setTicker(QSharedPointer<ReadableAxisTicker>::create(axis));
}

}  // namespace korvel
