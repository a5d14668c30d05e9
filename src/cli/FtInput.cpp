#include "cli/FtInput.h"

#include <limits>

namespace korvel::cli {

void AddFtOptions(CommandLine& cl)
{
    cl.addOption({QStringLiteral("freq"),
                  QStringLiteral("Частота выборки, Гц (целое число, 75..546133)."),
                  QStringLiteral("ГЦ")});
    cl.addOption({QStringLiteral("time"),
                  QStringLiteral("Длительность измерения, мс (целое число; пределы зависят от "
                                 "числа блоков)."),
                  QStringLiteral("МС")});
    cl.addOption({QStringLiteral("blocks"),
                  QStringLiteral("Блоков по 30000 выборок, 1..8 (по умолчанию из настроек)."),
                  QStringLiteral("N")});
}

FtOutcome RunFtCalculator(CommandLine& cl, const SettingsValues& settings)
{
    FtOutcome out;
    const bool freq = cl.isSet(QStringLiteral("freq"));
    const bool time = cl.isSet(QStringLiteral("time"));
    if (freq == time) {
        out.usageError = true;
        cl.reject(QStringLiteral("нужен ровно один из параметров --freq и --time"));
        return out;
    }
    const int blocks = cl.integer(QStringLiteral("blocks"), 1, 8, settings.SRAMblocks);
    FtCalculator calc(blocks, settings.Time4allSRAM, settings.seF);
    const int typed = freq ? cl.integer(QStringLiteral("freq"), calc.seF().minValue(),
                                        calc.seF().maxValue(), 0)
                           : cl.integer(QStringLiteral("time"), 1,
                                        std::numeric_limits<int>::max(), 0);
    if (cl.failed()) {
        out.usageError = true;
        return out;
    }

    calc.open();
    if (freq) {
        calc.setFocus(FtFocus::seF);
        calc.typeText(FtField::seF, QString::number(typed));
    } else {
        calc.typeText(FtField::seTime, QString::number(typed));
    }
    // While the error label shows, the window's start button would send a pair the user has
    // been told is wrong; a script gets the label's text instead.
    if (calc.lErrIn().visible) {
        out.usageError = true;
        cl.reject(QStringLiteral("--%1 «%2»: %3")
                      .arg(freq ? QStringLiteral("freq") : QStringLiteral("time"))
                      .arg(typed)
                      .arg(calc.lErrIn().text));
        return out;
    }
    if (!calc.divisors()) {
        out.error = QStringLiteral("Нет подходящих делителей");
        return out;
    }
    // Leaving the field clamps it, as the window does before the start button is pressed.
    calc.setFocus(FtFocus::Other);
    out.pair = *calc.divisors();
    out.SRAMblocks = calc.SRAMblocks();
    out.values = calc.trueValues();
    return out;
}

}  // namespace korvel::cli
