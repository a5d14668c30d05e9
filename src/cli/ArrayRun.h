#pragma once
// One array exchange on the acquisition object, from the start command to the last packet,
// with a progress bar on a terminal and a time limit so a silent board cannot hang a script.

#include "cli/StopOnSignal.h"
#include "device/Acquisition.h"
#include "settings/Settings.h"

#include <QString>
#include <functional>

namespace korvel::cli {

class CommandLine;

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
    // --timeout: the wait for the board's first answer (an edge included); the transfer then
    // has its estimate + grace. Negative: no such limit.
    qint64 answerTimeoutMs = -1;
};

// The limit without --timeout: measurement estimate + transfer estimate + 10 s.
qint64 ArrayRunTimeoutMs(const ArrayRunLimits& limits);

// Tests shorten every run's limit to this many milliseconds; 0 leaves it to the estimates.
void SetArrayRunTimeoutOverride(qint64 ms);

// Calls start, then runs the event loop until the chart would be drawn. False when the limit
// passed first, the port failed, the board's status was not a ready one (the message is then
// in *error), or stop was asked to (no message). Whenever it fails, nothing stays pending.
bool RunArray(Acquisition& acq, const std::function<void()>& start, const ArrayRunLimits& limits,
              bool progressBar, ArrayRunStats* stats, QString* error,
              const StopOnSignal* stop = nullptr);

// The whole road of measure and read: checks -o and the scaling first, connects, runs the
// exchange (start sets the acquisition up and sends the start), and saves the array (or keeps
// it in a recovery file) with the --json summary. Returns the exit status.
int RunAndSaveArray(CommandLine& cl, const SettingsValues& settings, bool AccelerometerMode,
                    ArrayRunLimits limits, const std::function<void(Acquisition&)>& start);

// "ПЛАТА АЦП НЕ ОТВЕЧАЕТ"-style message naming the seconds waited.
QString NoAnswerMessage(qint64 waitedMs);

}  // namespace korvel::cli
