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
    QObject::connect(&acq, &Acquisition::realTimeReply, [this](bool) { acq.countRealTimePoint(); });
}

void ReceiveRig::reset(const QByteArray& previous)
{
    acq.Cancel();
    // The real-time tables stay: allocated once for the process.
    acq.loadRecording({.SampleBuffer = previous});
    port.onWrite = nullptr;
    port.incoming.clear();
    port.writes.clear();
    draws = 0;
    failures.clear();
}

void ReceiveRig::release()
{
    reset();
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
