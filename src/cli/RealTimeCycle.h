#pragma once
// The real-time polling cycle without the window: every interval the two output commands last
// decided, 10 ms apart, then the sample request; each reply with the temperature decides both
// outputs again, signal first.

#include "app/Settings.h"
#include "chart/OutputRules.h"
#include "device/Acquisition.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace korvel::cli {

class RealTimeCycle : public QObject {
    Q_OBJECT
public:
    // Throws ConversionError when a threshold text of the settings is not a number, as the
    // window's start does before its timer runs.
    RealTimeCycle(Acquisition& acq, const SettingsValues& settings, bool withTemperature,
                  int intervalMs = 1000);

    void start();
    // No more requests; the reply to the last one is still taken.
    void stop();
    // Nothing is pending any more: a late reply is no longer a real-time reply.
    void finish();

    const QByteArray& TOutCommand() const { return TOutCommand_; }
    const QByteArray& AOutCommand() const { return AOutCommand_; }

private:
    void timSingleTimer();
    void timAfterSendCTL1Timer();
    void timAfterSendCTL2Timer();
    void onReply(bool withTemperature);

    Acquisition& acq_;
    bool withTemperature_;
    int intervalMs_;
    OutputRule signalRule_;
    OutputRule thermoRule_;
    QByteArray TOutCommand_;
    QByteArray AOutCommand_;
    QTimer timSingle_;
    QTimer timAfterSendCTL1_;
    QTimer timAfterSendCTL2_;
};

}  // namespace korvel::cli
