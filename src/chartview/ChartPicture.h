#pragma once
// The chart as a picture for other programs: a vector drawing (SVG) and a bitmap of the same
// drawing, on a white background, put on the clipboard. Nothing touches the disk.

#include <QByteArray>
#include <QImage>

class QClipboard;
class QCustomPlot;

namespace korvel {

inline constexpr char SvgMimeType[] = "image/svg+xml";

struct ChartPicture {
    QByteArray svg;
    QImage image;
};

// The chart as an SVG drawing of width x height, in the widget's own resolution so texts keep
// their size against the lines, and with lines that scale with the drawing.
QByteArray renderChartSvg(QCustomPlot* plot, int width, int height);

// Draws the chart at its widget size with the background (the chart's and any filled axis
// rect's) white, and restores the colours before returning.
ChartPicture renderChartPicture(QCustomPlot* plot);

// btSaveChartClick / N1Click. A null clipboard means the application's.
void copyChartToClipboard(QCustomPlot* plot, QClipboard* clipboard = nullptr);

}  // namespace korvel
