#pragma once
// The chart as an SVG drawing in which every part keeps the clip it has on screen.

#include <QByteArray>

class QCustomPlot;

namespace korvel {

// The chart as an SVG drawing of width x height, in the widget's own resolution so texts keep
// their size against the lines, and with lines that scale with the drawing. A curve zoomed
// past the axes is cut at them, as on screen.
QByteArray renderChartSvg(QCustomPlot* plot, int width, int height);

}  // namespace korvel
