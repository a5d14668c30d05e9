#pragma once
// The acquisition object on a scripted port, made once and reset between inputs: made afresh
// for each input, the two real-time records and the timers cost more than the input itself.
// No event loop runs; a target fires the timers itself where the program would wait for them.

#include "device/Acquisition.h"
#include "serial/ScriptedPort.h"

namespace korvel::fuzz {

struct ReceiveRig {
    ScriptedPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{1, 1}};
    int draws = 0;
    QStringList failures;

    ReceiveRig();
    // A fresh program whose SampleBuffer holds `previous`; nothing sent, nothing received.
    void reset(const QByteArray& previous = {});
    // Frees what the input made the rig hold, so that libFuzzer does not take it for a leak
    // and run the input again to look for one.
    void release();
};

// The one rig of the process.
ReceiveRig& Rig();

}  // namespace korvel::fuzz
