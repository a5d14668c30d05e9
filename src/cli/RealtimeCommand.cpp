// korvel-cli realtime [--seconds N] [--temperature] [--json] -o FILE
// The real-time mode until the time is up, the record is full or the user interrupts it, saved
// as the save button would save the recording.

#include "chart/Scaling.h"
#include "cli/CliSupport.h"
#include "cli/OutputFile.h"
#include "cli/ProgressBar.h"
#include "cli/RealTimeRun.h"
#include "cli/StopOnSignal.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "record/BoardWords.h"
#include "text/NumberFormat.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace korvel::cli {

namespace {

// One point as it arrives: its number, the seconds since the start, the ADC value, the value in
// the settings' units, the digital lines and, when asked for, the temperature.
QString PointJson(const Acquisition& acq, int i, qint64 elapsedMs, const ScaleCoefficients& scale,
                  bool withTemperature)
{
    const quint16 w = acq.recording().RealTimeSignal[i];
    const int adc = Reading(w);
    QString out = QStringLiteral("{\"point\":%1,\"elapsed_s\":%2,\"adc\":%3,\"value\":%4,"
                                 "\"digital\":[%5,%6,%7]")
                      .arg(i)
                      .arg(QString::number(elapsedMs / 1000.0, 'f', 3))
                      .arg(adc)
                      .arg(JsonNumber(ConvertReading(adc, 0, scale)))
                      .arg(int(LineHigh(w, 0)))
                      .arg(int(LineHigh(w, 1)))
                      .arg(int(LineHigh(w, 2)));
    if (withTemperature)
        out += QStringLiteral(",\"temperature_c\":%1").arg(JsonNumber(acq.recording().RealTimeTemperature[i] / 4.0));
    return out + QLatin1Char('}');
}

}  // namespace

int RunRealtime(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("realtime"), QStringLiteral("[--seconds N] [--temperature] [параметры] -o ФАЙЛ"),
        QStringLiteral(
            "Режим «В реальном времени»: раз в секунду одна выборка сигнала (и температура с "
            "--temperature; тогда по порогам из настроек переключаются оба управляющих выхода). "
            "Запись идёт --seconds секунд, без него — до Ctrl-C или до заполнения записи (65536 "
            "точек). Ctrl-C или SIGTERM останавливают опрос, записанное сохраняется, код 0; второй "
            "сигнал завершает программу сразу. Если плата не ответила ни разу за --timeout "
            "секунд (по умолчанию 5), файл не пишется, код 1."));
    AddBoardOptions(cl);
    AddSettingsOption(cl);
    cl.addOption({QStringLiteral("seconds"), QStringLiteral("Сколько секунд записывать."),
                  QStringLiteral("N")});
    cl.addOption({QStringLiteral("temperature"),
                  QStringLiteral("Запрашивать и температуру (она же управляет обоими выходами).")});
    cl.addOption({QStringLiteral("interval"),
                  QStringLiteral("Период опроса, мс: 600..3600000 (окно опрашивает раз в 1000 мс)."),
                  QStringLiteral("МС")});
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Печатать каждую точку объектом JSON в отдельной строке по мере "
                                 "поступления: point (номер), elapsed_s (секунд от начала), adc, "
                                 "value (в величинах настроек), digital (три линии), temperature_c.")});
    AddSaveOptions(cl);
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const double seconds = cl.real(QStringLiteral("seconds"), 0.001, 1e9, -1);
    // The receiver gathers a short reply for 500 ms after its first byte; polling faster would
    // merge replies and silently lose points.
    const int interval = cl.integer(QStringLiteral("interval"), 600, 3600000, 1000);
    const qint64 answerLimitMs = TimeoutMs(cl, 5000);
    const QString out = cl.value(QStringLiteral("o"));
    if (out.isEmpty())
        cl.reject(QStringLiteral("нужен -o ФАЙЛ"));
    if (cl.failed())
        return cl.usageError();

    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings)
        return ExitFailure;
    const OutputCheck check = CheckOutputPath(out, {SettingsPathFor(cl)});
    if (!check.ok()) {
        PrintedMessages::print(check.message);
        return check.exitCode;
    }
    ScaleCoefficients scale;
    try {
        // The window reads the thresholds before its timer starts; the file needs the scaling.
        RealTimeRun::ThresholdsFrom(*settings);
        scale = GetScaleParams(ScaleInputsFrom(*settings, CalcScales(2, 1).XUnitName)).coefficients;
    } catch (const ConversionError& e) {
        return Failure(e.message());
    }

    const bool withTemperature = cl.isSet(QStringLiteral("temperature"));
    std::unique_ptr<SerialPort> port = ConnectFromOptions(cl);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    bool full = false;
    QObject::connect(&acq, &Acquisition::realTimeRecordFull, [&] { full = true; });
    RealTimeRun run(acq, *settings, withTemperature, interval);
    QTextStream stdoutStream(stdout);
    QElapsedTimer elapsed;
    if (cl.isSet(QStringLiteral("json")))
        QObject::connect(&acq, &Acquisition::realTimeReply, [&] {
            stdoutStream << PointJson(acq, acq.recording().RealTimeCount - 1, elapsed.elapsed(), scale,
                                      withTemperature)
                         << Qt::endl;
        });

    StopOnSignal stop;
    ProgressBar bar(true);
    QTimer barTimer;
    QObject::connect(&barTimer, &QTimer::timeout, [&] {
        const int points = acq.recording().RealTimeCount;
        bar.show(QStringLiteral("ЗАПИСЬ %1").arg(points), seconds > 0 ? elapsed.elapsed() : 0,
                 seconds > 0 ? qint64(seconds * 1000) : 0);
    });
    barTimer.start(250);
    elapsed.start();
    const QDeadlineTimer end = seconds > 0 ? QDeadlineTimer(qint64(std::ceil(seconds * 1000)))
                                           : QDeadlineTimer(QDeadlineTimer::Forever);
    const QDeadlineTimer answerDeadline(answerLimitMs);
    // The first reply after the start is dropped, but it tells that the board answers.
    const auto answered = [&] {
        return acq.recording().realTimeState != Recording::RealTimeState::AwaitingFirstReply;
    };
    run.start();
    WaitFor([&] {
        return full || stop.stopRequested() || end.hasExpired() || !acq.port().isOpen()
            || (!answered() && answerDeadline.hasExpired());
    }, -1);
    run.stop();
    if (answered() && acq.port().isOpen()) {
        // The reply to the last request may still be on its way; the receiver waits 500 ms for it.
        const qint64 settle = acq.timRx().interval() + 300;
        WaitFor([] { return false; }, settle);
    }
    run.finish();
    barTimer.stop();
    bar.finish();
    const bool portLost = !port->isOpen();
    port->close();
    if (!answered())
        return Failure(portLost ? QStringLiteral("USB: нет связи") : QStringLiteral("Плата АЦП не ответила"));

    SaveChoices choices;
    choices.termoHasPoints = withTemperature && acq.recording().RealTimeCount > 0;
    // The real-time start selects seconds as the X unit.
    choices.XUnitName = CalcScales(2, 1).XUnitName;
    choices.comment = cl.value(QStringLiteral("comment"));
    const int rc = SaveOrRecover(out, acq.recording(), choices, *settings);
    // What came before the port went away is kept, but the run did not end as asked.
    if (rc == ExitOk && portLost)
        return Failure(QStringLiteral("USB: нет связи; записанное до обрыва сохранено в ") + out);
    return rc;
}

}  // namespace korvel::cli
