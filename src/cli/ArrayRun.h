#pragma once
// One array exchange on the acquisition object, from the start command to the last packet,
// with a progress bar on a terminal and a limit on the board's silence so a board that stops
// answering cannot hang a script, while a slow but steady one is never cut off.

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
    // An external edge may come at any time: nothing limits the wait for the status.
    bool waitsForEdge = false;
    // How long the board may stay silent once it has been asked for something it answers at
    // once, and what the measurement estimate may be off by.
    qint64 graceMs = 10000;
    // --timeout: how long the board may stay silent at any point of the exchange, the
    // measurement (and an edge) included. Negative: the limits above.
    qint64 answerTimeoutMs = -1;
};

// How long the board may stay silent without --timeout: while it measures (no byte yet), the
// measurement estimate + grace, or no limit for an edge; after that, the grace. Negative: none.
qint64 ArrayRunSilenceLimitMs(const ArrayRunLimits& limits, bool measuring);

// Tests shorten every run's limit to this many milliseconds; 0 leaves it to the estimates.
void SetArrayRunTimeoutOverride(qint64 ms);

// Calls start, then runs the event loop until the chart would be drawn. False when the board
// stayed silent past the limit, the port failed, the board's status was not a ready one (the message is then
// in *error), or stop was asked to (no message). Whenever it fails, nothing stays pending.
bool RunArray(Acquisition& acq, const std::function<void()>& start, const ArrayRunLimits& limits,
              bool progressBar, ArrayRunStats* stats, QString* error,
              const StopOnSignal* stop = nullptr);

// The whole road of measure and read: checks -o and the scaling first, connects, runs the
// exchange (start sets the acquisition up and sends the start), and saves the array (or keeps
// it in a recovery file) with the --json summary. Returns the exit status.
int RunAndSaveArray(CommandLine& cl, const SettingsValues& settings, bool AccelerometerMode,
                    ArrayRunLimits limits, const std::function<void(Acquisition&)>& start);

// The board's silence that ended a run, in seconds to a tenth.
QString NoAnswerMessage(qint64 silentMs);

}  // namespace korvel::cli
