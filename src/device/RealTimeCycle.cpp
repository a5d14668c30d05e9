#include "device/RealTimeCycle.h"

#include "device/Acquisition.h"
#include "device/Commands.h"

namespace korvel {

RealTimeCycle::RealTimeCycle(Acquisition& acq, TemperatureWanted temperatureWanted,
                             QObject* parent)
    : QObject(parent), acq_(acq), temperatureWanted_(std::move(temperatureWanted))
{
    timSingle.setSingleShot(false);
    timAfterSendCTL1.setSingleShot(true);
    timAfterSendCTL2.setSingleShot(true);
    connect(&timSingle, &QTimer::timeout, this, &RealTimeCycle::timSingleTimer);
    connect(&timAfterSendCTL1, &QTimer::timeout, this, &RealTimeCycle::timAfterSendCTL1Timer);
    connect(&timAfterSendCTL2, &QTimer::timeout, this, &RealTimeCycle::timAfterSendCTL2Timer);
}

void RealTimeCycle::start()
{
    timSingle.setInterval(intervals.firstMs);
    acq_.beginRealTimeRecord();
    timSingle.start();
}

void RealTimeCycle::stop()
{
    timSingle.stop();
    timAfterSendCTL1.stop();
    timAfterSendCTL2.stop();
}

void RealTimeCycle::applyOutput(OutputLine line, OutputResult result)
{
    if (result == OutputResult::Hold)
        return;
    const bool high = result == OutputResult::High;
    if (line == OutputLine::Signal)
        AOutCommand = high ? cmd::cmdAOutHigh() : cmd::cmdAOutLow();
    else
        TOutCommand = high ? cmd::cmdTOutHigh() : cmd::cmdTOutLow();
}

void RealTimeCycle::timSingleTimer()
{
    timSingle.setInterval(intervals.cycleMs);
    timAfterSendCTL1.start(intervals.afterSendMs);
    acq_.writeCommand(TOutCommand);
}

void RealTimeCycle::timAfterSendCTL1Timer()
{
    timAfterSendCTL1.stop();
    timAfterSendCTL2.start(intervals.afterSendMs);
    acq_.writeCommand(AOutCommand);
}

void RealTimeCycle::timAfterSendCTL2Timer()
{
    timAfterSendCTL2.stop();
    acq_.sendRealTimeRequest(temperatureWanted_ && temperatureWanted_());
}

}  // namespace korvel
