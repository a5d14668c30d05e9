#pragma once
// What spectrum and stats read: the signal of a data file as the chart plots it in a display
// mode (the file's own scaling, the settings' X unit), and the stretch of X asked for.

#include "chart/PlottedSignal.h"
#include "chart/Scaling.h"

#include <QCommandLineParser>
#include <optional>

namespace korvel::cli {

struct SignalInput {
    PlottedSignal signal;
    AxisTitles titles;
    double from = 0.0;     // X limits in the chart's unit; the whole record when not given
    double to = 0.0;
};

// --display-mode M, --from X, --to X and --settings FILE.
void AddSignalOptions(QCommandLineParser& parser);

// Reads the one FILE argument. On a usage error or a failure the message is printed and
// *rc holds the exit status.
std::optional<SignalInput> ReadSignalInput(const QCommandLineParser& parser, const QString& name,
                                           int* rc);

// JSON numbers carry a point whatever the locale and enough digits to give the double back;
// NaN and infinities are null.
QString JsonNumber(double v);

}  // namespace korvel::cli
