#include "ReceiveRig.h"

#include "FuzzSupport.h"

namespace korvel::fuzz {

ReceiveRig::ReceiveRig()
{
    port.open(QStringLiteral("fuzz"));
    acq.setDateTimeSource([] { return QStringLiteral("01.01.2026 00:00:00"); });
    acq.setTickSource([] { return 0u; });
    QObject::connect(&acq, &Acquisition::drawChart, [this] {
        ++draws;
        acq.ShowChartFinished();
    });
    QObject::connect(&acq, &Acquisition::transferFailed,
                     [this](const QString& message) { failures.append(message); });
    // As the chart does after adding the point.
    QObject::connect(&acq, &Acquisition::realTimeReply, [this](bool) { ++acq.RealTimeCount; });
}

void ReceiveRig::reset(const QByteArray& previous)
{
    acq.Cancel();
    acq.ModeCommand.clear();
    acq.PendingCommand.clear();
    acq.BlockCount = 8;
    acq.RealTimeCount = 0;
    acq.AccelPeriodTicks = 0;
    acq.AccelPeriod = 0.0007;
    acq.SampleBuffer = previous;
    port.onWrite = nullptr;
    port.incoming.clear();
    port.writes.clear();
    draws = 0;
    failures.clear();
}

void ReceiveRig::release()
{
    reset();
    acq.ModeCommand = QByteArray();
    acq.PendingCommand = QByteArray();
    acq.SampleBuffer = QByteArray();
    port.incoming = QByteArray();
    port.writes = {};
    failures = {};
}

ReceiveRig& Rig()
{
    EnsureApplication();
    static ReceiveRig rig;
    return rig;
}

}  // namespace korvel::fuzz
