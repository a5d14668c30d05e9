#pragma once
// The real-time mode without the window: the core's polling cycle, with both outputs decided
// from the settings on every reply that carries the temperature, signal first.

#include "chart/ControlThresholds.h"
#include "device/Acquisition.h"
#include "device/OutputRules.h"
#include "device/RealTimeCycle.h"
#include "settings/Settings.h"

#include <QObject>

namespace korvel::cli {

class RealTimeRun : public QObject {
    Q_OBJECT
public:
    // Throws ConversionError when a threshold text of the settings is not a number, as the
    // window's start does before its timer runs.
    RealTimeRun(Acquisition& acq, const SettingsValues& settings, bool withTemperature,
                int intervalMs = 1000);

    // The thresholds in force, read as the window's start reads them; throws ConversionError.
    static ControlThresholds ThresholdsFrom(const SettingsValues& settings);

    void start();
    // No more requests; the reply to the last one is still taken.
    void stop();
    // Nothing is pending any more: a late reply is no longer a real-time reply.
    void finish();

    RealTimeCycle& cycle() { return cycle_; }
    const RealTimeCycle& cycle() const { return cycle_; }

private:
    void onReply(bool withTemperature);

    Acquisition& acq_;
    OutputRule signalRule_;
    OutputRule thermoRule_;
    RealTimeCycle cycle_;
};

}  // namespace korvel::cli
