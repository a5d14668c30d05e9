#pragma once
// What the window asks of a chart about positions and ranges: the value under a pixel, the
// visible points of a series, axis limits, where the axes are drawn, the background colour.

#include <QColor>

class QCustomPlot;
class QCPAxis;
class QCPGraph;

namespace korvel {

// The axis value at a pixel X (widget coordinates) of a horizontal axis.
double valueAtPixelX(const QCPAxis* bottomAxis, double pixelX);

// Index of the first / last point whose X lies inside the key axis' visible range; -1 when
// no point does (or the graph is empty).
int firstVisibleIndex(const QCPGraph* graph);
int lastVisibleIndex(const QCPGraph* graph);

struct AxisLimits {
    double minimum = 0.0;
    double maximum = 0.0;
};

AxisLimits axisLimits(const QCPAxis* axis);
// Both ends at once: no intermediate state where the minimum exceeds the maximum.
void setAxisLimits(QCPAxis* axis, double minimum, double maximum);
// One end at a time; an end set past the other swaps them, so order the calls accordingly.
void setAxisMinimum(QCPAxis* axis, double minimum);
void setAxisMaximum(QCPAxis* axis, double maximum);

// Pixel position of the axis line as of the last layout (replot): x for a vertical axis,
// y for a horizontal one.
int axisPixelPosition(const QCPAxis* axis);

struct VerticalAxisPixels {
    int left = 0;   // x of the left axis line
    int right = 0;  // x of the right axis line
};
VerticalAxisPixels verticalAxisPixels(const QCustomPlot* plot);

// The colour the whole chart is filled with before drawing; invalid when it has no fill.
QColor chartBackgroundColor(const QCustomPlot* plot);
void setChartBackgroundColor(QCustomPlot* plot, const QColor& colour);

}  // namespace korvel
