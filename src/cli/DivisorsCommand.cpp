// korvel-cli divisors (--freq HZ | --time MS) [--blocks N] [--json]
// The F/T window's four texts after that input, or its numbers as JSON.

#include "cli/FtInput.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"

#include <QTextStream>

namespace korvel::cli {

int RunDivisors(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("divisors"), QStringLiteral("(--freq ГЦ | --time МС) [--blocks N] [--json]"),
                   QStringLiteral("Окно F/T: частота выборки или длительность измерения, набранная в "
                                  "его поле, и четыре строки, которые оно показывает (делители для "
                                  "платы, истинные частота и длительность, длительность в минутах). "
                                  "Значение, которое окно отмечает как недопустимое, — ошибка вызова "
                                  "с текстом окна."));
    AddSettingsOption(cl);
    AddFtOptions(cl);
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Напечатать d1, d2, PeriodTicks, F и TrueTimeMs объектом JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings)
        return ExitFailure;
    const FtOutcome ft = RunFtCalculator(cl, *settings);
    if (ft.usageError)
        return cl.usageError();
    if (!ft.error.isEmpty())
        return Failure(ft.error);

    QTextStream out(stdout);
    if (cl.isSet(QStringLiteral("json"))) {
        const int ticks = PeriodTicks(ft.pair);
        const double F = static_cast<double>(14745600.0L / ticks);
        out << JsonFields()
                   .add("d1", ft.pair.d1)
                   .add("d2", ft.pair.d2)
                   .add("PeriodTicks", ticks)
                   .add("F", F)
                   .add("TrueTimeMs", ft.values.TrueTimeMs)
                   .text()
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
