#include "cli/ArrayRun.h"

#include "chart/Scaling.h"
#include "cli/BoardSession.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/OutputFile.h"
#include "cli/Printed.h"
#include "cli/ProgressBar.h"
#include "cli/SaveAsWindow.h"
#include "text/NumberFormat.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <cmath>

namespace korvel::cli {

qint64 ArrayRunSilenceLimitMs(const ArrayRunLimits& limits, bool measuring)
{
    if (!measuring)
        return limits.graceMs;
    return limits.waitsForEdge ? -1 : static_cast<qint64>(limits.MeasureTimeMs) + limits.graceMs;
}

QString NoAnswerMessage(qint64 silentMs)
{
    return Format(u"Плата АЦП не ответила за %.1f с", {silentMs / 1000.0});
}

namespace {
qint64& timeoutOverride()
{
    static qint64 ms = 0;
    return ms;
}
}  // namespace

void SetArrayRunTimeoutOverride(qint64 ms)
{
    timeoutOverride() = ms;
}

bool RunArray(Acquisition& acq, const std::function<void()>& start, const ArrayRunLimits& limits,
              bool progressBar, ArrayRunStats* stats, QString* error, const StopOnSignal* stop)
{
    bool drawn = false;
    int expectedPackets = 0;
    QElapsedTimer total;
    QElapsedTimer transfer;
    qint64 transferNs = -1;
    // Since the board last sent a byte, or was last asked for something.
    QElapsedTimer silence;
    bool boardSpoke = false;
    const qint64 overrideMs = timeoutOverride();
    const auto silenceLimitMs = [&] {
        if (overrideMs > 0)
            return overrideMs;
        if (limits.answerTimeoutMs > 0)
            return limits.answerTimeoutMs;
        return ArrayRunSilenceLimitMs(limits, !boardSpoke && expectedPackets == 0);
    };
    const auto tooLong = [&] {
        const qint64 limit = silenceLimitMs();
        return limit >= 0 && silence.elapsed() > limit;
    };
    bool portLost = false;
    QString transferError;

    QObject guard;
    // Our own waits (a reply gathered, a request deferred) are not the board's silence.
    QObject::connect(&acq, &Acquisition::transferStarted, &guard, [&] {
        expectedPackets = acq.PacketsLeft();
        silence.start();
    });
    QObject::connect(&acq.port(), &SerialPort::received, &guard, [&] {
        boardSpoke = true;
        silence.start();
    });
    // Connected after the acquisition's own handler, so this runs once the request is written.
    QObject::connect(&acq.timSendCmd(), &QTimer::timeout, &guard, [&] {
        silence.start();
        if (expectedPackets > 0 && !transfer.isValid())
            transfer.start();
    });
    // A device that went away will send nothing more: no point waiting for the limit.
    QObject::connect(&acq.port(), &SerialPort::failed, &guard, [&] { portLost = true; });
    QObject::connect(&acq, &Acquisition::transferFailed, &guard,
                     [&](const QString& message) { transferError = message; });
    QObject::connect(&acq, &Acquisition::drawChart, &guard, [&] {
        if (transfer.isValid())
            transferNs = transfer.nsecsElapsed();
        drawn = true;
        acq.ShowChartFinished();
    });

    ProgressBar bar(progressBar);
    QTimer barTimer;
    barTimer.setInterval(250);
    QObject::connect(&barTimer, &QTimer::timeout, &guard, [&] {
        if (expectedPackets > 0)
            bar.show(QStringLiteral("ПЕРЕДАЧА"), expectedPackets - acq.PacketsLeft(), expectedPackets);
        else
            bar.show(QStringLiteral("ИЗМЕРЕНИЕ"), total.elapsed(),
                     static_cast<qint64>(limits.MeasureTimeMs));
    });
    if (progressBar)
        barTimer.start();

    total.start();
    silence.start();
    start();
    // A port already gone when the start went out is not a board that stays silent.
    portLost = portLost || !acq.port().isOpen();
    const auto stopped = [&] { return stop && stop->stopRequested(); };
    WaitFor([&] {
        return drawn || portLost || stopped() || !transferError.isEmpty() || tooLong();
    }, -1);
    barTimer.stop();
    bar.finish();
    // The exchange also ends without a transfer when the status byte is not a ready one; the
    // buffer then holds nothing of this run.
    const bool done = drawn && !portLost && expectedPackets > 0;
    if (!done) {
        // Nothing more may go out or come in for this exchange.
        acq.Cancel();
        if (error) {
            if (stopped())
                error->clear();
            else if (!transferError.isEmpty())
                *error = transferError;
            else if (portLost)
                *error = QStringLiteral("USB: нет связи");
            else if (drawn)
                *error = QStringLiteral("Плата АЦП не сообщила о готовности данных");
            else if (limits.waitsForEdge && expectedPackets == 0)
                *error = Format(u"Запуска по внешнему сигналу не было за %.1f с",
                                {silence.elapsed() / 1000.0});
            else
                *error = NoAnswerMessage(silence.elapsed());
        }
        return false;
    }
    if (stats) {
        stats->packets = expectedPackets;
        stats->bytes = acq.SampleBuffer().size();
        stats->transferMs = transferNs < 0 ? 0.0 : std::round(transferNs / 1e5) / 10.0;
        stats->totalMs = total.elapsed();
    }
    return true;
}

int RunAndSaveArray(CommandLine& cl, const SettingsValues& settings, bool AccelerometerMode,
                    ArrayRunLimits limits, const std::function<void(Acquisition&)>& start)
{
    // A measurement may take minutes: whatever would refuse its file is found out first.
    const QString out = cl.value(QStringLiteral("o"));
    const OutputCheck check = CheckOutputPath(out, {SettingsPathFor(cl)});
    if (!check.ok()) {
        PrintedMessages::print(check.message);
        return check.exitCode;
    }
    if (const QString e = ScalingError(settings, AccelerometerMode); !e.isEmpty())
        return Failure(e);

    std::unique_ptr<SerialPort> port = ConnectFromOptions(cl);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    StopOnSignal stop;
    ArrayRunStats stats;
    QString error;
    const bool ok = RunArray(acq, [&] { start(acq); }, limits, true, &stats, &error, &stop);
    port->close();
    if (stop.stopRequested())
        return ExitSignalBase + stop.signalNumber();
    if (!ok)
        return Failure(error);

    SaveChoices choices;
    choices.AccelerometerMode = AccelerometerMode;
    choices.XUnitName = CalcScales(settings.cbXscale, 1).XUnitName;
    choices.comment = cl.value(QStringLiteral("comment"));
    if (const int rc = SaveOrRecover(out, acq.recording(), choices, settings); rc != ExitOk)
        return rc;
    if (cl.isSet(QStringLiteral("json")))
        QTextStream(stdout) << JsonFields()
                                   .add("packets", stats.packets)
                                   .add("bytes", stats.bytes)
                                   .add("transfer_ms", stats.transferMs)
                                   .add("total_ms", stats.totalMs)
                                   .text()
                            << Qt::endl;
    return ExitOk;
}

}  // namespace korvel::cli
