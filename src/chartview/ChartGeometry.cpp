#include "chartview/ChartGeometry.h"

#include <qcustomplot.h>

namespace korvel {

double valueAtPixelX(const QCPAxis* bottomAxis, double pixelX)
{
    return bottomAxis ? bottomAxis->pixelToCoord(pixelX) : 0.0;
}

namespace {

struct VisibleSpan {
    int first = -1;
    int last = -1;
};

VisibleSpan visibleSpan(const QCPGraph* graph)
{
    if (!graph || !graph->keyAxis())
        return {};
    const QSharedPointer<QCPGraphDataContainer> data = graph->data();
    if (data->isEmpty())
        return {};
    const QCPRange range = graph->keyAxis()->range();
    const auto begin = data->findBegin(range.lower, false);
    const auto end = data->findEnd(range.upper, false);
    if (begin >= end)
        return {};
    return {static_cast<int>(begin - data->constBegin()),
            static_cast<int>(end - data->constBegin()) - 1};
}

// QCustomPlot keeps its fill brush to itself; a pointer to member taken through a derived
// class reads it on any chart without a cast of the object.
struct BrushAccess : QCustomPlot {
    static QBrush QCustomPlot::*member() { return &BrushAccess::mBackgroundBrush; }
};

}  // namespace

int firstVisibleIndex(const QCPGraph* graph)
{
    return visibleSpan(graph).first;
}

int lastVisibleIndex(const QCPGraph* graph)
{
    return visibleSpan(graph).last;
}

AxisLimits axisLimits(const QCPAxis* axis)
{
    if (!axis)
        return {};
    return {axis->range().lower, axis->range().upper};
}

void setAxisLimits(QCPAxis* axis, double minimum, double maximum)
{
    if (axis)
        axis->setRange(QCPRange(minimum, maximum));
}

void setAxisMinimum(QCPAxis* axis, double minimum)
{
    if (axis)
        axis->setRangeLower(minimum);
}

void setAxisMaximum(QCPAxis* axis, double maximum)
{
    if (axis)
        axis->setRangeUpper(maximum);
}

int axisPixelPosition(const QCPAxis* axis)
{
    if (!axis || !axis->axisRect())
        return 0;
    const QCPAxisRect* r = axis->axisRect();
    // The right and top lines are drawn one pixel outside the rect's last row and column,
    // where the axes' far ends map to.
    switch (axis->axisType()) {
    case QCPAxis::atLeft: return r->left() - axis->offset();
    case QCPAxis::atRight: return r->left() + r->width() + axis->offset();
    case QCPAxis::atTop: return r->top() - 1 - axis->offset();
    case QCPAxis::atBottom: return r->bottom() + axis->offset();
    }
    return 0;
}

VerticalAxisPixels verticalAxisPixels(const QCustomPlot* plot)
{
    if (!plot || !plot->axisRect())
        return {};
    const QCPAxisRect* r = plot->axisRect();
    return {axisPixelPosition(r->axis(QCPAxis::atLeft)), axisPixelPosition(r->axis(QCPAxis::atRight))};
}

QColor chartBackgroundColor(const QCustomPlot* plot)
{
    if (!plot)
        return {};
    const QBrush& brush = plot->*BrushAccess::member();
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

void setChartBackgroundColor(QCustomPlot* plot, const QColor& colour)
{
    if (plot)
        plot->setBackground(colour.isValid() ? QBrush(colour) : QBrush(Qt::NoBrush));
}

}  // namespace korvel
