#include "cli/RealTimeCycle.h"

#include "app/NumberFormat.h"
#include "chart/Scaling.h"
#include "cli/CliSupport.h"
#include "device/Commands.h"

namespace korvel::cli {

RealTimeCycle::RealTimeCycle(Acquisition& acq, const SettingsValues& settings,
                             bool withTemperature, int intervalMs)
    : acq_(acq), withTemperature_(withTemperature), intervalMs_(intervalMs)
{
    const ScaleInputs scaleIn = ScaleInputsFrom(settings, CalcScales(2, 1).XUnitName);
    const ControlThresholds t = ReadControlThresholds(
        {settings.eTOn, settings.eTOff, settings.eAOn, settings.eAOff},
        [&] { return GetScaleParams(scaleIn).coefficients; });
    signalRule_ = {settings.cbACondition1, settings.cbACondition2, settings.cbALevel1,
                   settings.cbALevel2, t.AnalogLevelOn, t.AnalogLevelOff, settings.eAOn,
                   settings.eAOff};
    thermoRule_ = {settings.cbTCondition1, settings.cbTCondition2, settings.cbTLevel1,
                   settings.cbTLevel2, t.ThermoLevelOn, t.ThermoLevelOff, settings.eTOn,
                   settings.eTOff};

    timAfterSendCTL1_.setSingleShot(true);
    timAfterSendCTL1_.setInterval(10);
    timAfterSendCTL2_.setSingleShot(true);
    timAfterSendCTL2_.setInterval(10);
    connect(&timSingle_, &QTimer::timeout, this, &RealTimeCycle::timSingleTimer);
    connect(&timAfterSendCTL1_, &QTimer::timeout, this, &RealTimeCycle::timAfterSendCTL1Timer);
    connect(&timAfterSendCTL2_, &QTimer::timeout, this, &RealTimeCycle::timAfterSendCTL2Timer);
    connect(&acq_, &Acquisition::realTimeReply, this, &RealTimeCycle::onReply);
}

void RealTimeCycle::start()
{
    acq_.SamplePeriod = 1000000;
    acq_.beginRealTimeRecord();
    timSingle_.setInterval(10);
    timSingle_.start();
}

void RealTimeCycle::stop()
{
    timSingle_.stop();
    timAfterSendCTL1_.stop();
    timAfterSendCTL2_.stop();
}

void RealTimeCycle::finish()
{
    stop();
    acq_.PendingCommand = cmd::IdleCommand();
}

void RealTimeCycle::timSingleTimer()
{
    timSingle_.setInterval(intervalMs_);
    timAfterSendCTL1_.start();
    acq_.writeCommand(TOutCommand_);
}

void RealTimeCycle::timAfterSendCTL1Timer()
{
    timAfterSendCTL2_.start();
    acq_.writeCommand(AOutCommand_);
}

void RealTimeCycle::timAfterSendCTL2Timer()
{
    acq_.sendRealTimeRequest(withTemperature_);
}

void RealTimeCycle::onReply(bool withTemperature)
{
    if (withTemperature) {
        const OutputDecision a = DecideOutput(OutputLine::Signal, acq_.CurrentSignal, signalRule_);
        signalRule_.level2 = a.level2;
        if (a.result != OutputResult::Hold)
            AOutCommand_ = a.result == OutputResult::High ? cmd::cmdAOutHigh() : cmd::cmdAOutLow();
        const OutputDecision t =
            DecideOutput(OutputLine::Temperature, acq_.CurrentTemperature, thermoRule_);
        thermoRule_.level2 = t.level2;
        if (t.result != OutputResult::Hold)
            TOutCommand_ = t.result == OutputResult::High ? cmd::cmdTOutHigh() : cmd::cmdTOutLow();
    }
    // The chart's step: the point is kept and counted.
    ++acq_.RealTimeCount;
}

}  // namespace korvel::cli
