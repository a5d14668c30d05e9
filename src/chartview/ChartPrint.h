#pragma once
// Printing the chart: one job on a printer, the chart scaled into the upper half of the page.

#include <QRect>
#include <QSize>
#include <QString>

class QCustomPlot;
class QPainter;
class QPaintDevice;
class QPrinter;

namespace korvel {

// The upper half of a page at full width, in the device's pixels.
QRect upperHalfRect(const QPaintDevice& page);

// The chart as it looks on screen, scaled to fill target; texts keep their proportions on
// devices of any resolution. With a layout size the chart is laid out at that size instead of
// its screen size, so that a target of another shape does not stretch its texts.
void drawChartInto(QCustomPlot* plot, QPainter& painter, const QRect& target, QSize layout = {});

// Ends a job painted with painter: an empty string when the printer took it; otherwise the job
// is aborted and failure comes back.
QString endPrintJob(QPrinter& printer, QPainter& painter, const QString& failure);

// btPrintClick: one job named docName drawn into upperHalfRect. Returns an empty string on
// success; on a failure the job is aborted and the text for the error box comes back.
QString printChart(QCustomPlot* plot, QPrinter& printer,
                   const QString& docName = QStringLiteral("Chart1"));

}  // namespace korvel
