#include "chartview/ChartFill.h"

#include "chart/AxisRounding.h"

#include <qcustomplot.h>

namespace korvel {

void fillGraph(QCPGraph* graph, const PointSeries& series)
{
    if (!graph)
        return;
    const qsizetype n = std::min(series.x.size(), series.y.size());
    QVector<QCPGraphData> points(n);
    QCPGraphData* out = points.data();
    const double* x = series.x.constData();
    const double* y = series.y.constData();
    for (qsizetype i = 0; i < n; ++i)
        out[i] = QCPGraphData(x[i], y[i]);
    // set() shares the vector instead of copying it.
    graph->data()->set(points, true);
}

void appendPoint(QCPGraph* graph, double x, double y)
{
    if (graph)
        graph->data()->add(QCPGraphData(x, y));
}

void appendPoints(QCPGraph* graph, const PointSeries& series)
{
    if (!graph)
        return;
    const qsizetype n = std::min(series.x.size(), series.y.size());
    if (n == 0)
        return;
    QVector<QCPGraphData> points(n);
    for (qsizetype i = 0; i < n; ++i)
        points[i] = QCPGraphData(series.x[i], series.y[i]);
    graph->data()->add(points, true);
}

void clearGraph(QCPGraph* graph)
{
    if (graph)
        graph->data()->clear();
}

namespace {

bool hasVisibleData(const QCPAxis* axis)
{
    const QList<QCPGraph*> graphs = axis->graphs();
    for (const QCPGraph* g : graphs) {
        if (g->visible() && !g->data()->isEmpty())
            return true;
    }
    return false;
}

}  // namespace

void autoscaleAxes(QCustomPlot* plot)
{
    if (!plot || !plot->axisRect())
        return;
    const QList<QCPAxis*> axes = plot->axisRect()->axes();
    for (QCPAxis* axis : axes) {
        if (!hasVisibleData(axis))
            continue;
        axis->rescale(true);
        const QCPAxis::AxisType type = axis->axisType();
        if (type == QCPAxis::atLeft || type == QCPAxis::atRight) {
            const AxisEnds ends = type == QCPAxis::atLeft
                                      ? RoundedAxisEnds(axis->range().lower, axis->range().upper)
                                      : TemperatureAxisEnds(axis->range().lower, axis->range().upper);
            axis->setRange(ends.minimum, ends.maximum);
        }
    }
}

void applyChartPlot(QCustomPlot* plot, const ChartGraphs& graphs, const ChartPlot& chartPlot,
                    bool axesZoomed)
{
    fillGraph(graphs.Series1, chartPlot.Series1);
    fillGraph(graphs.SeriDgt3, chartPlot.SeriDgt[2]);
    fillGraph(graphs.SeriDgt1, chartPlot.SeriDgt[0]);
    fillGraph(graphs.SeriDgt2, chartPlot.SeriDgt[1]);
    fillGraph(graphs.Series2, chartPlot.Series2);
    fillGraph(graphs.SeriTermo, chartPlot.SeriTermo);
    if (!plot)
        return;
    if (!axesZoomed)
        autoscaleAxes(plot);
    if (chartPlot.digital && chartPlot.digital->bottomAxis) {
        QCPAxis* bottom = graphs.Series1 ? graphs.Series1->keyAxis() : plot->xAxis;
        const BottomAxisCarry& carry = *chartPlot.digital->bottomAxis;
        if (bottom) {
            bottom->setRangeUpper(carry.firstMaximum);
            bottom->setRangeLower(carry.minimum);
            bottom->setRangeUpper(carry.maximum);
        }
    }
    plot->replot();
}

}  // namespace korvel
