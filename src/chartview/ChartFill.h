#pragma once
// Putting computed series into the chart component: whole series, real-time points, and a
// complete plot applied to the six graphs with one replot.

#include "chart/SeriesBuilder.h"

class QCustomPlot;
class QCPGraph;

namespace korvel {

// The main chart's graphs in drawing order. Any of them may be null (it is then skipped).
struct ChartGraphs {
    QCPGraph* Series1 = nullptr;
    QCPGraph* SeriDgt3 = nullptr;
    QCPGraph* SeriDgt1 = nullptr;
    QCPGraph* SeriDgt2 = nullptr;
    QCPGraph* Series2 = nullptr;
    QCPGraph* SeriTermo = nullptr;
};

// Replaces the graph's points; the series is already sorted by X, so the graph keeps the one
// array built here and never sorts.
void fillGraph(QCPGraph* graph, const PointSeries& series);
// Adds points after the existing ones (real-time mode).
void appendPoint(QCPGraph* graph, double x, double y);
void appendPoints(QCPGraph* graph, const PointSeries& series);
void clearGraph(QCPGraph* graph);

// Axes back to automatic: every axis of the first axis rect fitted to the data of its visible
// graphs, the left one with its ends rounded outward, the right (temperature) one with a margin
// round its trace. An axis without data keeps its range.
void autoscaleAxes(QCustomPlot* plot);

// Replaces all six series with the plot's, carries a zoomed bottom-axis window over to a new
// X unit (maximum, minimum, maximum: the minimum never passes the maximum meanwhile), rescales
// the axes unless the user has zoomed them, and replots once.
void applyChartPlot(QCustomPlot* plot, const ChartGraphs& graphs, const ChartPlot& chartPlot,
                    bool axesZoomed);

}  // namespace korvel
