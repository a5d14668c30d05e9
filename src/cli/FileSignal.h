#pragma once
// A data file's signal as the window's chart would plot it after loading the file, and the
// stretch of it that --from and --to name: what export, spectrum and stats read.

#include "chart/PlottedSignal.h"
#include "chart/Scaling.h"
#include "cli/CommandLine.h"
#include "files/DataFile.h"
#include "settings/Settings.h"

#include <optional>

namespace korvel::cli {

// The unit the file's X name ends with ("Время, мс"); microseconds when it names none.
XUnit XUnitOfName(const QString& AxisXName);

struct PointRange {
    int first = 0;
    int last = -1;
};

// The points of a record whose time i × periodUs (in the unit of XUnitFactor) lies within
// [from, to], as a zoom of the chart to that stretch would show them; every point when neither
// is given. Nothing when a limit is given and the period is not a positive number.
std::optional<PointRange> PointsWithinTime(int points, double periodUs, int XUnitFactor,
                                           std::optional<double> from, std::optional<double> to);

// The file's own coefficients, refused as the window refuses them when they scale a reading
// to no finite number (a NaN or infinite coefficient): nothing, with the message in *error.
std::optional<ScaleCoefficients> FileScaleOf(const LoadedDataFile& f, QString* error);

// The coefficients the chart draws a loaded file with: its own, or for an accelerometer file
// (which stores none) those of the settings, as the window keeps them. Nothing, with the
// conversion's message in *error, when either would not draw.
std::optional<ScaleCoefficients> ChartScaleOf(const LoadedDataFile& f, const SettingsValues& s,
                                              QString* error);

// The points whose time in the file's own X unit, as the chart plots it in a time display
// mode (and an export prints it), lies within [from, to]: a limit given as the very time of a
// sample takes that sample. Every point when neither is given; nothing when a limit is given
// and the record's period is not a positive number.
std::optional<PointRange> FilePointsWithin(const LoadedDataFile& f, const ScaleCoefficients& scale,
                                           std::optional<double> from, std::optional<double> to);

// The signal's points over a stretch: the X limits of the plotted axis that hold exactly it.
struct XLimits {
    double from = 0.0;
    double to = 0.0;
};
XLimits LimitsOf(const PlottedSignal& s, const PointRange& r);

// What spectrum and stats read: one data file in a display mode, over a stretch.
struct SignalInput {
    PlottedSignal signal;
    AxisTitles titles;
    XLimits limits;
    // What the report tells besides: the file, the scaling the chart drew with, the view.
    LoadedDataFile file;
    ScaleCoefficients scale;
    int displayMode = 0;
    XUnit unit;
};

// --settings, --display-mode M, --from X, --to X and the FILE argument.
void AddSignalOptions(CommandLine& cl);
// After cl.parse(): the file's signal, or nothing with *rc the exit status (its message printed).
std::optional<SignalInput> ReadSignalInput(CommandLine& cl, int* rc);

}  // namespace korvel::cli
