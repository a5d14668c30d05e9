#include "chartview/ReadableAxisTicker.h"

#include "chart/AxisTicks.h"

#include <qcustomplot.h>

#include <cmath>

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
        space.lengthPixels = expectedLength();
        assumedLength_ = space.lengthPixels;
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

    // The layout that followed gave the axis another length than the ticks were chosen for
    // (the chart's header strip came or went, the labels' widths moved the margins).
    bool chosenForAnotherLength() const { return std::fabs(lengthOf(axis_->axisRect()->rect()) - assumedLength_) > 1.0; }

    // Set while the replot that corrects the ticks is on its way, so that it is the only one.
    bool correcting = false;

private:
    double lengthOf(const QRect& r) const
    {
        return axis_->orientation() == Qt::Horizontal ? r.width() : r.height();
    }

    // Ticks are chosen before the layout: the plotting area the last one gave, grown or shrunk
    // as much as the chart has since; before the first layout, the whole chart.
    double expectedLength()
    {
        const QRect viewport = axis_->parentPlot()->viewport();
        const QRect area = axis_->axisRect()->rect();
        const double length = area.isEmpty() || lastViewport_.isEmpty()
                                  ? lengthOf(area.isEmpty() ? viewport : area)
                                  : lengthOf(area) + lengthOf(viewport) - lengthOf(lastViewport_);
        lastViewport_ = viewport;
        return length;
    }

    QCPAxis* axis_;
    QRect lastViewport_;
    double assumedLength_ = 0.0;
};

}  // namespace

void useReadableTicks(QCPAxis* axis)
{
    const auto ticker = QSharedPointer<ReadableAxisTicker>::create(axis);
    axis->setTicker(ticker);
    QCustomPlot* plot = axis->parentPlot();
    QObject::connect(plot, &QCustomPlot::afterLayout, axis, [plot, weak = ticker.toWeakRef()] {
        // Gone when the axis took another ticker (a logarithmic one).
        const QSharedPointer<ReadableAxisTicker> t = weak.toStrongRef();
        if (!t)
            return;
        if (t->correcting) {
            t->correcting = false;
        } else if (t->chosenForAnotherLength()) {
            t->correcting = true;
            plot->replot(QCustomPlot::rpQueuedReplot);
        }
    });
}

}  // namespace korvel
