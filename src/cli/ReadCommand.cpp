// korvel-cli read --blocks N -o FILE
// The "Read" button: the board's memory fetched again, without a new measurement.

#include "cli/ArrayRun.h"
#include "cli/BoardSession.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "device/Commands.h"

namespace korvel::cli {

int RunRead(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("read"), QStringLiteral("[--blocks N] [параметры] -o ФАЙЛ"),
                   QStringLiteral("Кнопка «Read»: считать данные из памяти платы АЦП ещё раз, без "
                                  "нового измерения, и записать их, как кнопкой «Сохранить». "
                                  "Память читается как массив 0,7 МГц из --blocks блоков. "
                                  "Ctrl-C прерывает чтение: ничего не сохраняется, код 130."));
    AddBoardOptions(cl);
    AddSettingsOption(cl);
    cl.addOption({QStringLiteral("blocks"), QStringLiteral("Блоков по 30000 выборок, 1..8 (по умолчанию 8)."),
                  QStringLiteral("N")});
    AddSaveOptions(cl);
    cl.addOption({QStringLiteral("json"), QStringLiteral("Напечатать итог передачи объектом JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const int blocks = cl.integer(QStringLiteral("blocks"), 1, 8, 8);
    if (cl.value(QStringLiteral("o")).isEmpty())
        cl.reject(QStringLiteral("нужен -o ФАЙЛ"));
    ArrayRunLimits limits;
    limits.TransferTimeMs = ReadTransferTimeMs;
    limits.answerTimeoutMs = TimeoutMs(cl, -1);
    if (cl.failed())
        return cl.usageError();

    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings)
        return ExitFailure;
    return RunAndSaveArray(cl, *settings, false, limits, [&](Acquisition& acq) {
        // A fresh program has started no mode; the block code of the request names the blocks,
        // read as the 0.7 MHz array they most likely hold.
        Recording memory;
        memory.ModeCommand = cmd::bytes({cmd::cmdStart07MHzByte, cmd::BlockCode(blocks)});
        memory.BlockCount = static_cast<quint16>(blocks);
        memory.SamplePeriod = SamplePeriodForTicks(21);
        acq.loadRecording(memory);
        acq.Read();
    });
}

}  // namespace korvel::cli
