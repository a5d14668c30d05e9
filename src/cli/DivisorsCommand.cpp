// korvel-cli divisors (--freq HZ | --time MS) [--blocks N] [--json]
// The F/T window's four texts after that input, or its numbers as JSON.

#include "cli/CliSupport.h"
#include "cli/FtInput.h"
#include "cli/Subcommands.h"

#include <QTextStream>

namespace korvel::cli {

int RunDivisors(const QStringList& arguments)
{
    const QString name = QStringLiteral("divisors");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Show the divisors the F/T window chooses."));
    AddSettingsOption(parser);
    AddFtOptions(parser);
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print d1, d2, PeriodTicks, F, TrueTimeMs.")});
    if (const int rc = ParseArguments(parser, arguments, name); rc >= 0)
        return rc;
    const FtOutcome ft = RunFtCalculator(parser, SettingsFrom(parser));
    if (!ft.error.isEmpty())
        return ft.usageError ? UsageError(name, ft.error) : Failure(ft.error);

    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("json"))) {
        const int ticks = PeriodTicks(ft.pair);
        const double F = static_cast<double>(14745600.0L / ticks);
        out << "{\"d1\":" << ft.pair.d1 << ",\"d2\":" << ft.pair.d2 << ",\"PeriodTicks\":" << ticks
            << ",\"F\":" << QString::number(F, 'g', 17)
            << ",\"TrueTimeMs\":" << QString::number(ft.values.TrueTimeMs, 'g', 17) << "}"
            << Qt::endl;
    } else {
        out << ft.values.lbDly << "\n"
            << ft.values.lbF << "\n"
            << ft.values.lbT << "\n"
            << ft.values.lbMinutes << Qt::endl;
    }
    return ExitOk;
}

}  // namespace korvel::cli
