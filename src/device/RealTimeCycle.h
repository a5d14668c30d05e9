#pragma once
// The real-time polling chain, shared by the window and korvel-cli: every cycle the two output
// commands last decided go out a short interval apart, then the sample request. Deciding the
// outputs stays with the caller, which hands each result to applyOutput().

#include "device/OutputRules.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <functional>

namespace korvel {

class Acquisition;

struct RealTimeIntervals {
    int firstMs = 10;      // the first poll after the start
    int cycleMs = 1000;    // every poll after it
    int afterSendMs = 10;  // between the writes of one poll
};

class RealTimeCycle : public QObject {
    Q_OBJECT
public:
    // Whether the request about to go out asks for the temperature too.
    using TemperatureWanted = std::function<bool()>;

    RealTimeCycle(Acquisition& acq, TemperatureWanted temperatureWanted,
                  QObject* parent = nullptr);

    // firstMs is read at each start, the others at each step of the chain.
    RealTimeIntervals intervals;

    // The commands last decided for XP2/7 and XP2/8; empty (nothing written) until a first
    // decision. They outlive a stop, so a restart keeps driving the lines as they were left.
    QByteArray TOutCommand;
    QByteArray AOutCommand;

    // The chain; public so a test can fire each step by hand.
    QTimer timSingle;
    QTimer timAfterSendCTL1;
    QTimer timAfterSendCTL2;

    // The first reply after a start is discarded; the first poll comes after firstMs.
    void start();
    // Stops the whole chain, so a request queued behind the output commands never goes out.
    void stop();
    bool isRunning() const { return timSingle.isActive(); }

    // A decision for one line sets the command written from then on; Hold keeps the last one.
    void applyOutput(OutputLine line, OutputResult result);

    void timSingleTimer();
    void timAfterSendCTL1Timer();
    void timAfterSendCTL2Timer();

private:
    Acquisition& acq_;
    TemperatureWanted temperatureWanted_;
};

}  // namespace korvel
