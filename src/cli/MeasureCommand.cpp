// korvel-cli measure --mode 1mhz|07mhz|alt|ft|extf|adxl [...] -o FILE
// One measurement with the window's start bytes, saved as the save button would.

#include "chart/Scaling.h"
#include "cli/ArrayRun.h"
#include "cli/BoardSession.h"
#include "cli/FtInput.h"
#include "cli/Options.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "device/ModeStarts.h"

#include <algorithm>
#include <optional>

namespace korvel::cli {

namespace {

struct PlannedStart {
    ModeStart start;
    bool AccelerometerMode = false;
};

const QStringList Modes = {QStringLiteral("1mhz"), QStringLiteral("07mhz"), QStringLiteral("alt"),
                           QStringLiteral("ft"), QStringLiteral("extf"), QStringLiteral("adxl")};

// Builds the start of the chosen mode; on a mistake the command line holds the usage error, or
// *failure the program's message.
std::optional<PlannedStart> PlanStart(CommandLine& cl, const SettingsValues& settings,
                                      QString* failure)
{
    const int mode = cl.choice(QStringLiteral("mode"), Modes, -1);
    const int trigger = cl.choice(QStringLiteral("trigger"),
                                  {QStringLiteral("computer"), QStringLiteral("rise"),
                                   QStringLiteral("fall")},
                                  settings.TriggerType);
    if (cl.failed())
        return std::nullopt;
    switch (mode) {
    case 0: return PlannedStart{Start1MHz(trigger)};
    case 1: return PlannedStart{Start07MHz(trigger)};
    case 2: return PlannedStart{StartAlt()};
    case 3: {
        const FtOutcome ft = RunFtCalculator(cl, settings);
        if (ft.usageError)
            return std::nullopt;
        if (!ft.error.isEmpty()) {
            *failure = ft.error;
            return std::nullopt;
        }
        return PlannedStart{StartFT(trigger, ft.SRAMblocks, ft.pair.d1, ft.pair.d2)};
    }
    case 4: {
        // The settings' values land in the window's spin fields, which clamp them.
        const int hz = cl.integer(QStringLiteral("ext-freq"), 100, 100000,
                                  std::clamp(settings.seFExtrn, 100, 100000));
        const int samples = cl.integer(QStringLiteral("samples"), 30000, 240000,
                                       std::clamp(settings.seSamplesFExtrn, 30000, 240000));
        // The board takes whole blocks; the window would silently drop the rest.
        if (cl.isSet(QStringLiteral("samples")) && samples % 30000 != 0)
            cl.reject(QStringLiteral("--samples «%1»: нужно кратное 30000 (30000, 60000, … 240000)")
                          .arg(samples));
        if (cl.failed())
            return std::nullopt;
        return PlannedStart{StartExtF(samples, hz)};
    }
    case 5: {
        const int channels = cl.choice(QStringLiteral("channels"),
                                       {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("xy")},
                                       2);
        const int k = cl.integer(QStringLiteral("duration-index"), 0, 7, 0);
        if (cl.failed())
            return std::nullopt;
        // The start-up period: the program has not heard the board's own yet.
        const int seconds = AccelBlockSecondsFor(0.0007);
        return PlannedStart{StartADXL(trigger, k, channels != 1, channels != 0, seconds).start, true};
    }
    default:
        cl.reject(QStringLiteral("нужен --mode: 1mhz, 07mhz, alt, ft, extf или adxl"));
        return std::nullopt;
    }
}

}  // namespace

int RunMeasure(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("measure"), QStringLiteral("--mode РЕЖИМ [параметры] -o ФАЙЛ"),
        QStringLiteral(
            "Одно измерение, как кнопками окна, и запись результата, как кнопкой «Сохранить». "
            "Режимы: 1mhz — 30000 выборок с частотой 1 МГц; 07mhz — 240000 выборок с частотой "
            "0,7 МГц; alt — запуск двойным щелчком по панели инструментов окна: те же 240000 "
            "выборок 0,7 МГц своей командой платы, всегда от компьютера; ft — частота выборки "
            "(--freq) или длительность (--time) и число блоков, как в окне F/T; extf — выборки "
            "от внешнего генератора (--ext-freq, --samples); adxl — акселерометр (--channels, "
            "--duration-index), всегда в файл данных.\n"
            "Имя выходного файла и пересчёт в величины проверяются до обращения к плате. Если "
            "файл всё же не записался, данные сохраняются рядом с ним (ИМЯ.recovered-…dtw) или в "
            "~/.local/share/korvel/recovered. Ctrl-C прерывает измерение: ничего не "
            "сохраняется, код 130."));
    AddBoardOptions(cl);
    AddSettingsOption(cl);
    cl.addOption({QStringLiteral("mode"), QStringLiteral("Режим: 1mhz, 07mhz, alt, ft, extf или adxl."),
                  QStringLiteral("РЕЖИМ")});
    cl.addOption({QStringLiteral("trigger"),
                  QStringLiteral("Запуск: computer (от компьютера), rise (внешний, по фронту) или "
                                 "fall (по спаду); по умолчанию из настроек."),
                  QStringLiteral("ЗАПУСК")});
    AddFtOptions(cl);
    cl.addOption({QStringLiteral("ext-freq"),
                  QStringLiteral("extf: частота внешнего генератора, Гц (100..100000; по умолчанию "
                                 "из настроек)."),
                  QStringLiteral("ГЦ")});
    cl.addOption({QStringLiteral("samples"),
                  QStringLiteral("extf: число выборок, кратное 30000 (30000..240000; по умолчанию "
                                 "из настроек)."),
                  QStringLiteral("N")});
    cl.addOption({QStringLiteral("channels"), QStringLiteral("adxl: оси x, y или xy (по умолчанию xy)."),
                  QStringLiteral("ОСИ")});
    cl.addOption({QStringLiteral("duration-index"),
                  QStringLiteral("adxl: строка списка длительностей, 0..7 (по умолчанию 0)."),
                  QStringLiteral("K")});
    AddSaveOptions(cl);
    cl.addOption({QStringLiteral("json"), QStringLiteral("Напечатать итог передачи объектом JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    if (cl.value(QStringLiteral("o")).isEmpty())
        cl.reject(QStringLiteral("нужен -o ФАЙЛ"));
    const qint64 timeoutMs = TimeoutMs(cl, -1);

    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings)
        return ExitFailure;
    QString failure;
    const std::optional<PlannedStart> plan = PlanStart(cl, *settings, &failure);
    if (cl.failed())
        return cl.usageError();
    if (!plan)
        return Failure(failure);

    ArrayRunLimits limits;
    limits.MeasureTimeMs = plan->start.MeasureTimeMs;
    limits.TransferTimeMs = plan->start.TransferTimeMs;
    limits.waitsForEdge = (cmd::FirstByte(plan->start.command) & 0x60) != 0;
    limits.answerTimeoutMs = timeoutMs;
    return RunAndSaveArray(cl, *settings, plan->AccelerometerMode, limits, [&](Acquisition& acq) {
        acq.applyStart(plan->start);
        acq.BeginAcquisition();
    });
}

}  // namespace korvel::cli
