#pragma once
// The open export formats: CSV, NumPy's .npy and WAV. CSV and npy hold the same table: time
// (the X the chart plots), the signal in its Y unit (X and Y channels for a two-channel
// accelerometer record), the three digital lines as 0/1, and the temperature in °C when the
// record carries it. WAV holds the 12-bit readings themselves at the record's sample rate.

#include "chart/PlottedSignal.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace korvel {

struct ExportTable {
    QStringList names;                          // one per column, with its unit
    std::vector<std::vector<double>> columns;   // equal lengths; NaN where a channel has no point
    qsizetype rows() const { return columns.empty() ? 0 : qsizetype(columns.front().size()); }
};

// The points within [from, to] of the X axis. xName and yName are the chart's axis titles.
ExportTable BuildExportTable(const PlottedSignal& signal, double from, double to,
                             const QString& xName, const QString& yName);

// The shortest text that reads back as the same double, with a point whatever the locale.
QByteArray NumberText(double v);

// RFC 4180: a header row, comma separators, point decimals whatever the locale, UTF-8, LF.
// Numbers in their shortest exact form; a missing value is an empty field.
QByteArray ToCsv(const ExportTable& table);

// NumPy format 1.0: a C-ordered little-endian float64 array of rows × columns.
QByteArray ToNpy(const ExportTable& table);

// PCM 16-bit at the sample rate rounded to a whole hertz, one channel per signal channel; each
// reading centred on 2048 and scaled by 16 to the 16-bit range. A channel short of points is
// padded with silence.
QByteArray ToWav(const PlottedSignal& signal, double from, double to);

}  // namespace korvel
