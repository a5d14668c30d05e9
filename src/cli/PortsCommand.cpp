// korvel-cli ports [--json]
// The system's serial ports with their USB IDs, the board's marked, and the one that the
// board subcommands (and the window) would open without --port.

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/Json.h"
#include "cli/Subcommands.h"
#include "device/PortLocator.h"
#include "serialport/BoardLink.h"

#include <QTextStream>

namespace korvel::cli {

namespace {

QString Hex4(std::optional<quint16> id)
{
    return id ? QStringLiteral("%1").arg(*id, 4, 16, QLatin1Char('0')).toUpper() : QString();
}

QString UsbIds(const SerialPortListing& p)
{
    return p.vendorId && p.productId ? Hex4(p.vendorId) + QLatin1Char(':') + Hex4(p.productId)
                                     : QStringLiteral("-");
}

// An empty text is null.
QJsonValue textOrNull(const QString& s)
{
    return s.isEmpty() ? QJsonValue() : QJsonValue(s);
}

}  // namespace

int RunPorts(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("ports"), QStringLiteral("[--json]"),
                   QStringLiteral("Последовательные порты системы с USB-кодами VID:PID. Порты "
                                  "платы АЦП (мост 10C4:EA5F) отмечены; стрелка показывает порт, "
                                  "который подключение выберет без --port (как и окно)."));
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Напечатать объект JSON: ports — список портов {device, vid, pid, "
                                 "description, manufacturer, serial, board}, chosen — выбранный "
                                 "порт или null.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const QList<SerialPortListing> ports = ListSerialPorts();
    const PortLookup found = FindBoardPort();
    const QString chosen = found.number > 0 ? found.device : QString();

    QTextStream out(stdout);
    if (cl.isSet(QStringLiteral("json"))) {
        QList<JsonFields> items;
        for (const SerialPortListing& p : ports)
            items << JsonFields()
                         .add("device", p.device)
                         .add("vid", textOrNull(Hex4(p.vendorId)))
                         .add("pid", textOrNull(Hex4(p.productId)))
                         .add("description", textOrNull(p.description))
                         .add("manufacturer", textOrNull(p.manufacturer))
                         .add("serial", textOrNull(p.serialNumber))
                         .add("board", p.board);
        out << JsonFields().add("ports", items).add("chosen", textOrNull(chosen)).text() << Qt::endl;
        return ExitOk;
    }
    if (ports.isEmpty())
        out << "Последовательных портов нет\n";
    for (const SerialPortListing& p : ports) {
        out << (p.device == chosen ? "-> " : "   ") << p.device.leftJustified(16) << ' '
            << UsbIds(p).leftJustified(9) << ' ' << (p.board ? "плата АЦП  " : "           ")
            << QStringList{p.manufacturer, p.description}.join(QLatin1Char(' ')).trimmed() << "\n";
    }
    out << (chosen.isEmpty() ? QStringLiteral("Плата АЦП не найдена: без --port подключения не будет")
                             : QStringLiteral("Без --port подключение выберет ") + chosen)
        << Qt::endl;
    return ExitOk;
}

}  // namespace korvel::cli
