#pragma once
// The texts of the one-page measurement report: what the record is (file, date and time,
// comment, scaling), how its spectrum was taken, its measurements, the band's RMS and the peak
// list, as rows ready to be laid out on a page.

#include "spectrum/SignalAnalysis.h"

#include <QDateTime>
#include <QString>
#include <utility>
#include <vector>

namespace korvel {

struct ReportRecord {
    QString fileName;        // empty: a measurement not saved yet
    QDateTime recorded;      // the file's time; invalid when unknown
    QString comment;
    double ScaleK = 1.0;
    int ScaleShift = 0;
    QString AxisXName;
    QString AxisYName;
};

struct ReportText {
    QString title;
    std::vector<std::pair<QString, QString>> header;   // caption, value
    QString spectrumLine;    // window, segment, overlap, averages, scale
    QString note;            // the integration's, when there is one
    QString measured;        // the measurements' heading: "Измерение", or the integrated quantity
    std::vector<MeasurementRow> measurements;   // with the band's row last when one is asked
    QStringList channels;    // the measurement columns' headings
    std::vector<std::vector<PeakRow>> peaks;    // per channel
    QString valueUnit;       // of the peaks' values
};

ReportText BuildReportText(const ReportRecord& record, const SignalAnalysis& a, const QDateTime& now);

}  // namespace korvel
