// korvel-cli realtime [--seconds N] [--temperature] [--json] -o FILE
// The real-time mode until the time is up, the record is full or the user interrupts it, saved
// as the save button would save the recording.

#include "chart/Scaling.h"
#include "cli/BoardSession.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/OutputFile.h"
#include "cli/Printed.h"
#include "cli/ProgressBar.h"
#include "cli/RealTimeRun.h"
#include "cli/SaveAsWindow.h"
#include "cli/StopOnSignal.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "record/BoardWords.h"
#include "text/NumberFormat.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonArray>
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
    JsonFields j;
    j.add("point", i)
        .add("elapsed_s", elapsedMs / 1000.0)
        .add("adc", adc)
        .add("value", ConvertReading(adc, 0, scale))
        .add("digital", QJsonArray{int(LineHigh(w, 0)), int(LineHigh(w, 1)), int(LineHigh(w, 2))});
    if (withTemperature)
        j.add("temperature_c", acq.recording().RealTimeTemperature[i] / 4.0);
    return j.text();
}

void DefineRealtimeOptions(CommandLine& cl)
{
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
                                 "value (в величинах настроек), digital (три линии), temperature_c; "
                                 "в конце — итог: points (записано точек), lost_points (потеряно).")});
    AddSaveOptions(cl);
}

struct RealtimeChoices {
    double seconds = -1;        // no limit when negative
    int intervalMs = 1000;
    qint64 answerLimitMs = 5000;
    bool withTemperature = false;
    bool json = false;
    QString out;
    SettingsValues settings;
};

// The choices of the parsed command line and the settings; nothing, with the exit status in
// *rc, when one is wrong or the settings cannot be read.
std::optional<RealtimeChoices> ReadRealtimeChoices(CommandLine& cl, int* rc)
{
    RealtimeChoices c;
    c.seconds = cl.real(QStringLiteral("seconds"), 0.001, 1e9, -1);
    // The receiver gathers a short reply for 500 ms after its first byte; polling faster would
    // merge replies and silently lose points.
    c.intervalMs = cl.integer(QStringLiteral("interval"), 600, 3600000, 1000);
    c.answerLimitMs = TimeoutMs(cl, 5000);
    c.withTemperature = cl.isSet(QStringLiteral("temperature"));
    c.json = cl.isSet(QStringLiteral("json"));
    c.out = cl.value(QStringLiteral("o"));
    if (c.out.isEmpty())
        cl.reject(QStringLiteral("нужен -o ФАЙЛ"));
    if (cl.failed()) {
        *rc = cl.usageError();
        return std::nullopt;
    }
    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings) {
        *rc = ExitFailure;
        return std::nullopt;
    }
    c.settings = *settings;
    return c;
}

struct RealTimeOutcome {
    bool answered = false;
    bool portLost = false;
};

// The real-time mode on the board until the time is up, the record is full, a signal stops it
// or the port goes away; the record stays in acq.
RealTimeOutcome RecordRealTime(Acquisition& acq, const RealtimeChoices& c,
                               const ScaleCoefficients& scale, const StopOnSignal& stop)
{
    bool full = false;
    QObject::connect(&acq, &Acquisition::realTimeRecordFull, [&] { full = true; });
    RealTimeRun run(acq, c.settings, c.withTemperature, c.intervalMs);
    QTextStream stdoutStream(stdout);
    QElapsedTimer elapsed;
    if (c.json)
        QObject::connect(&acq, &Acquisition::realTimeReply, [&] {
            stdoutStream << PointJson(acq, acq.recording().RealTimeCount - 1, elapsed.elapsed(), scale,
                                      c.withTemperature)
                         << Qt::endl;
        });

    ProgressBar bar(true);
    QTimer barTimer;
    QObject::connect(&barTimer, &QTimer::timeout, [&] {
        const int points = acq.recording().RealTimeCount;
        bar.show(QStringLiteral("ЗАПИСЬ %1").arg(points), c.seconds > 0 ? elapsed.elapsed() : 0,
                 c.seconds > 0 ? qint64(c.seconds * 1000) : 0);
    });
    barTimer.start(250);
    elapsed.start();
    const QDeadlineTimer end = c.seconds > 0 ? QDeadlineTimer(qint64(std::ceil(c.seconds * 1000)))
                                             : QDeadlineTimer(QDeadlineTimer::Forever);
    const QDeadlineTimer answerDeadline(c.answerLimitMs);
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
    return {answered(), !acq.port().isOpen()};
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
            "точек). Ctrl-C, SIGTERM или SIGHUP (закрыт терминал, оборвалась связь SSH) "
            "останавливают опрос, записанное сохраняется, код 0; второй сигнал завершает "
            "программу сразу. Пока нет ни одной точки, файл не пишется (существующий остаётся): "
            "сигнал до первой точки — код 128 + номер сигнала, плата не ответила ни разу за "
            "--timeout секунд (по умолчанию 5) — код 1. Если точки терялись (ответ платы не пришёл "
            "или искажён), записанное сохраняется, но на оси времени записи пропуски: их число "
            "печатается, код 1."));
    DefineRealtimeOptions(cl);
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    int rc = ExitOk;
    const std::optional<RealtimeChoices> c = ReadRealtimeChoices(cl, &rc);
    if (!c)
        return rc;
    const OutputCheck check = CheckOutputPath(c->out, {SettingsPathFor(cl)});
    if (!check.ok()) {
        PrintedMessages::print(check.message);
        return check.exitCode;
    }
    ScaleCoefficients scale;
    try {
        // The window reads the thresholds before its timer starts; the file needs the scaling.
        RealTimeRun::ThresholdsFrom(c->settings);
        scale = GetScaleParams(ScaleInputsFrom(c->settings, CalcScales(2, 1).XUnitName)).coefficients;
    } catch (const ConversionError& e) {
        return Failure(e.message());
    }

    std::unique_ptr<SerialPort> port = ConnectFromOptions(cl);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    // Kept to the end: a signal while the record is saved does not cut the save short.
    const StopOnSignal stop;
    const RealTimeOutcome run = RecordRealTime(acq, *c, scale, stop);
    port->close();
    const int points = acq.recording().RealTimeCount;
    const int lost = acq.lostRealTimePoints();
    if (c->json)
        QTextStream(stdout) << JsonFields().add("points", points).add("lost_points", lost).text()
                            << Qt::endl;
    // An empty record would replace a file that holds something.
    if (points == 0) {
        if (stop.stopRequested()) {
            PrintedMessages::print(QStringLiteral("%1: остановлено до первой точки, файл %2 не записан")
                                       .arg(SignalName(stop.signalNumber()), c->out));
            return ExitSignalBase + stop.signalNumber();
        }
        if (run.portLost)
            return Failure(QStringLiteral("USB: нет связи"));
        if (!run.answered)
            return Failure(QStringLiteral("Плата АЦП не ответила"));
        return Failure(QStringLiteral("Плата АЦП не прислала ни одной точки; файл %1 не записан").arg(c->out));
    }

    SaveChoices choices;
    choices.termoHasPoints = c->withTemperature;
    // The real-time start selects seconds as the X unit.
    choices.XUnitName = CalcScales(2, 1).XUnitName;
    choices.comment = cl.value(QStringLiteral("comment"));
    const int saved = SaveOrRecover(c->out, acq.recording(), choices, c->settings);
    if (saved != ExitOk)
        return saved;
    // What came before the port went away is kept, but the run did not end as asked.
    if (run.portLost)
        return Failure(QStringLiteral("USB: нет связи; записанное до обрыва сохранено в ") + c->out);
    if (lost > 0)
        return Failure(QStringLiteral("Потеряно точек: %1 из %2 (ответ платы не пришёл или искажён); "
                                      "записанное сохранено в %3, но на оси времени записи пропуски")
                           .arg(lost)
                           .arg(points + lost)
                           .arg(c->out));
    return ExitOk;
}

}  // namespace korvel::cli
