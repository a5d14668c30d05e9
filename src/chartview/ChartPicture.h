#pragma once
// The chart as a picture for other programs: a vector drawing (SVG) and a bitmap of the same
// drawing, on a white background, put on the clipboard. Nothing touches the disk.

#include "chartview/ChartSvg.h"

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

// Draws the chart at its widget size with the background (the chart's and any filled axis
// rect's) white, and restores the colours before returning.
ChartPicture renderChartPicture(QCustomPlot* plot);

// btSaveChartClick / N1Click. A null clipboard means the application's.
void copyChartToClipboard(QCustomPlot* plot, QClipboard* clipboard = nullptr);

}  // namespace korvel
