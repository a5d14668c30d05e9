#pragma once
// The one-page measurement report on a printer or into a PDF file: the record's texts, the
// chart and the spectrum as they are shown, the measurements, the band's RMS and the peak list.

#include "spectrum/ReportText.h"

#include <QString>

#include <vector>

class QCustomPlot;
class QPrinter;

namespace korvel {

// One job named "Протокол". Returns an empty string on success; on a failure the job is
// aborted and the text for the error box comes back.
QString printMeasurementReport(QPrinter& printer, const ReportText& text, QCustomPlot* signalChart,
                               QCustomPlot* spectrumChart);

// The widths of a report table's columns across width, from the widths their texts need: each
// column as wide as its texts, the spare width to the first; a table too wide shortens the
// first column (to no less than 30 %) before the others.
std::vector<double> ReportColumnWidths(std::vector<double> needed, double width);

}  // namespace korvel
