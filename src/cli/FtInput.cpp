#include "cli/FtInput.h"

namespace korvel::cli {

void AddFtOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("freq"), QStringLiteral("Sample rate typed into seF."),
                      QStringLiteral("HZ")});
    parser.addOption({QStringLiteral("time"), QStringLiteral("Duration typed into seTime."),
                      QStringLiteral("MS")});
    parser.addOption({QStringLiteral("blocks"), QStringLiteral("Blocks of 30000 samples (1..8)."),
                      QStringLiteral("N")});
}

FtOutcome RunFtCalculator(const QCommandLineParser& parser, const SettingsValues& settings)
{
    FtOutcome out;
    const bool freq = parser.isSet(QStringLiteral("freq"));
    const bool time = parser.isSet(QStringLiteral("time"));
    if (freq == time) {
        out.usageError = true;
        out.error = QStringLiteral("give exactly one of --freq and --time");
        return out;
    }
    int blocks = settings.SRAMblocks;
    if (parser.isSet(QStringLiteral("blocks"))) {
        bool ok = false;
        blocks = parser.value(QStringLiteral("blocks")).toInt(&ok);
        if (!ok || blocks < 1 || blocks > 8) {
            out.usageError = true;
            out.error = QStringLiteral("--blocks needs a number from 1 to 8");
            return out;
        }
    }

    FtCalculator calc(blocks, settings.Time4allSRAM, settings.seF);
    calc.open();
    if (freq) {
        calc.setFocus(FtFocus::seF);
        calc.typeText(FtField::seF, parser.value(QStringLiteral("freq")));
    } else {
        calc.typeText(FtField::seTime, parser.value(QStringLiteral("time")));
    }
    // While the error label shows, the window's start button would send a pair the user has
    // been told is wrong; a script gets the label's text instead.
    if (calc.lErrIn().visible || !calc.divisors()) {
        out.error = calc.lErrIn().text;
        if (out.error.isEmpty())
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
