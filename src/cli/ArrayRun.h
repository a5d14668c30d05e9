#pragma once
// One array exchange on the acquisition object, from the start command to the last packet,
// with a progress bar on a terminal and a time limit so a silent board cannot hang a script.

#include "device/Acquisition.h"
#include "settings/Settings.h"

#include <QCommandLineParser>
#include <QString>
#include <functional>

namespace korvel::cli {

struct ArrayRunStats {
    int packets = 0;
    qint64 bytes = 0;
    double transferMs = 0;  // from cmdSendArray to the last stored packet, to 0.1 ms
    qint64 totalMs = 0;
};

struct ArrayRunLimits {
    double MeasureTimeMs = 0;
    double TransferTimeMs = 0;
    // An external edge may come at any time: the limit then starts with the transfer.
    bool waitsForEdge = false;
    // What the estimates are allowed to be off by.
    qint64 graceMs = 10000;
};

// The limit: measurement estimate + transfer estimate + 10 s.
qint64 ArrayRunTimeoutMs(const ArrayRunLimits& limits);

// Tests shorten every run's limit to this many milliseconds; 0 leaves it to the estimates.
void SetArrayRunTimeoutOverride(qint64 ms);

// Calls start, then runs the event loop until the chart would be drawn. False when the limit
// passed first, the port failed, or the board's status was not a ready one (the message is then
// in *error).
bool RunArray(Acquisition& acq, const std::function<void()>& start, const ArrayRunLimits& limits,
              bool progressBar, ArrayRunStats* stats, QString* error);

// After a run: saves the array as the save button would (-o, --comment) and prints the --json
// summary. Returns the exit status.
int SaveArrayRun(const Acquisition& acq, bool AccelerometerMode, const ArrayRunStats& stats,
                 const QCommandLineParser& parser, const SettingsValues& settings);

// "ПЛАТА АЦП НЕ ОТВЕЧАЕТ"-style message naming the seconds waited.
QString NoAnswerMessage(qint64 waitedMs);

}  // namespace korvel::cli
