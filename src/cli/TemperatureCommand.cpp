// korvel-cli temperature [--json]
// One reading of the board's sensor, printed as the status panel shows it.

#include "cli/BoardSession.h"
#include "cli/Json.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"

#include <QTextStream>

namespace korvel::cli {

int RunTemperature(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("temperature"), QStringLiteral("[параметры]"),
                   QStringLiteral("Кнопка «Измерить температуру»: одно показание датчика DS18B20 "
                                  "платы, как его показывает строка состояния окна."));
    AddBoardOptions(cl);
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Напечатать объект JSON: градусы (temperature_c, точное показание "
                                 "датчика, шаг 1/16 °C) и текст строки состояния.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    // The reply is handled half a second after its first byte; two more seconds are ample.
    const qint64 limitMs = TimeoutMs(cl, 2500);
    if (cl.failed())
        return cl.usageError();
    std::unique_ptr<SerialPort> port = ConnectFromOptions(cl);
    if (!port)
        return ExitFailure;
    Acquisition acq(*port);
    QString text;
    QObject::connect(&acq, &Acquisition::temperatureRead, [&](const QString& t) { text = t; });
    acq.requestTemperature();
    const bool answered = WaitFor([&] { return !text.isEmpty(); }, limitMs);
    port->close();
    if (!answered)
        return Failure(QStringLiteral("Плата АЦП не ответила"));
    QTextStream out(stdout);
    if (cl.isSet(QStringLiteral("json"))) {
        // The sensor's own reading, not the panel's rounding of it.
        out << JsonFields()
                   .add("temperature_c", acq.TemperatureReading())
                   .add("text", text.trimmed())
                   .text()
            << Qt::endl;
    } else {
        out << text << Qt::endl;
    }
    return ExitOk;
}

}  // namespace korvel::cli
