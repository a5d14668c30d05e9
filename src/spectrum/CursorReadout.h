#pragma once
// The two measurement cursors A and B over the chart's signal: the values at each, their
// differences, and the measurements of the stretch between them, as values and as the lines
// of the read-out box (which are also what goes to the clipboard).

#include "chart/PlottedSignal.h"
#include "spectrum/Measurements.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace korvel {

// How the chart's X axis counts samples.
struct CursorAxis {
    double step = 1.0;        // the X of one sample, as the status-bar read-out counts it
    bool time = false;        // X is time (not sample numbers)
    QString unit;             // the time unit's name ("мкс", "мс", "с")
    int XUnitFactor = 1;      // microseconds in one unit
    std::array<bool, 3> linesShown{};   // the digital lines whose check box is checked
};

struct CursorPoint {
    qsizetype index = 0;
    double x = 0.0;                       // index × step
    std::vector<double> y;                // per channel; NaN past a channel's end
    // Per digital line: high or low; nothing for a line not shown or a record without lines.
    std::array<std::optional<bool>, 3> lines{};
};

struct CursorReadout {
    CursorPoint a;
    CursorPoint b;
    double dx = 0.0;                       // B − A in the X unit
    std::optional<double> frequencyHz;     // 1 / |Δt| for a time axis and distinct cursors
    std::vector<double> dy;                // B − A per channel
    std::vector<Measurements> stretch;     // per channel, from the left cursor to the right one
    QStringList lines;                     // the read-out box
};

// The sample index nearest to x (x / step rounded, a tie to the even index), kept within
// 0 .. count − 1; 0 when there are no samples.
qsizetype CursorIndexAt(double x, double step, qsizetype count);

// The read-out for cursors at sample indexes a and b (each within the first channel).
CursorReadout ReadCursors(const PlottedSignal& signal, qsizetype a, qsizetype b,
                          const CursorAxis& axis);

}  // namespace korvel
