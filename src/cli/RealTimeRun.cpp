#include "cli/RealTimeRun.h"

#include "chart/Scaling.h"
#include "cli/Options.h"
#include "text/NumberFormat.h"

namespace korvel::cli {

RealTimeRun::RealTimeRun(Acquisition& acq, const SettingsValues& settings, bool withTemperature,
                         int intervalMs)
    : acq_(acq), cycle_(acq, [withTemperature] { return withTemperature; })
{
    const ControlThresholds t = ThresholdsFrom(settings);
    signalRule_ = {settings.cbACondition1, settings.cbACondition2, settings.cbALevel1,
                   settings.cbALevel2, t.AnalogLevelOn, t.AnalogLevelOff, settings.eAOn,
                   settings.eAOff};
    thermoRule_ = {settings.cbTCondition1, settings.cbTCondition2, settings.cbTLevel1,
                   settings.cbTLevel2, t.ThermoLevelOn, t.ThermoLevelOff, settings.eTOn,
                   settings.eTOff};
    cycle_.intervals.cycleMs = intervalMs;
    connect(&acq_, &Acquisition::realTimeReply, this, &RealTimeRun::onReply);
}

ControlThresholds RealTimeRun::ThresholdsFrom(const SettingsValues& settings)
{
    const ScaleInputs scaleIn = ScaleInputsFrom(settings, CalcScales(2, 1).XUnitName);
    return ReadControlThresholds({settings.eTOn, settings.eTOff, settings.eAOn, settings.eAOff},
                                 [&] { return GetScaleParams(scaleIn).coefficients; });
}

void RealTimeRun::start()
{
    acq_.useRealTimePeriod();
    cycle_.start();
}

void RealTimeRun::stop()
{
    cycle_.stop();
}

void RealTimeRun::finish()
{
    stop();
    acq_.Cancel();
}

void RealTimeRun::onReply(bool withTemperature)
{
    if (withTemperature) {
        const OutputDecision a = DecideOutput(OutputLine::Signal, acq_.CurrentSignal(), signalRule_);
        signalRule_.level2 = a.level2;
        cycle_.applyOutput(OutputLine::Signal, a.result);
        const OutputDecision t =
            DecideOutput(OutputLine::Temperature, acq_.CurrentTemperature(), thermoRule_);
        thermoRule_.level2 = t.level2;
        cycle_.applyOutput(OutputLine::Temperature, t.result);
    }
    // The chart's step: the point is kept and counted.
    acq_.countRealTimePoint();
}

}  // namespace korvel::cli
