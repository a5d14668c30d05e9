#pragma once
// A chart of korvel-cli drawn offscreen into a file: PNG, SVG or PDF by the name's extension.

#include "cli/CommandLine.h"

#include <QSize>
#include <QString>

class QCustomPlot;

namespace korvel {
class ChartView;
struct DisplayOptions;
struct LoadedDataFile;
struct ScaleCoefficients;
}

namespace korvel::cli {

// The chart of a loaded file as the window draws it after loading (plot and report).
void FillFileChart(ChartView& view, const LoadedDataFile& f, const DisplayOptions& options,
                   const ScaleCoefficients& scale, const QString& XUnitName);


// --size WxH, each 10..20000; 794x515, the window's chart, when not given.
void AddPictureSizeOption(CommandLine& cl);
QSize PictureSize(CommandLine& cl);

// Draws the chart at size into out; an empty string, or the message of the failure.
QString DrawChartFile(QCustomPlot& chart, const QString& out, QSize size);

}  // namespace korvel::cli
