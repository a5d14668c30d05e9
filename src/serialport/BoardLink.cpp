#include "serialport/BoardLink.h"

#include "serialport/QtSerialPort.h"
#include "sim/SimulatedPort.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace korvel {

QList<QCommandLineOption> LinkOptionList()
{
    return {{QStringLiteral("port"),
             QStringLiteral("Порт платы АЦП (например /dev/ttyUSB0 или COM7) вместо поиска платы."),
             QStringLiteral("УСТРОЙСТВО")},
            {QStringLiteral("simulate"), QStringLiteral("Работать с моделью платы АЦП.")},
            {QStringLiteral("throttle"),
             QStringLiteral("Модель платы отвечает со скоростью линии 921600 бод.")}};
}

void AddLinkOptions(QCommandLineParser& parser)
{
    parser.addOptions(LinkOptionList());
}

LinkOptions LinkOptionsFrom(const QCommandLineParser& parser)
{
    LinkOptions o;
    o.port = parser.value(QStringLiteral("port"));
    o.simulate = parser.isSet(QStringLiteral("simulate"));
    o.throttle = parser.isSet(QStringLiteral("throttle"));
    return o;
}

std::unique_ptr<SerialPort> MakeBoardPort(const LinkOptions& options, QObject* parent)
{
    if (options.simulate) {
        auto port = std::make_unique<SimulatedPort>(SimOptions{}, parent);
        port->setThrottle(options.throttle);
        return port;
    }
    return std::make_unique<QtSerialPort>(parent);
}

PortFinder MakeBoardPortFinder(const LinkOptions& options)
{
    if (options.simulate)
        return FixedPortFinder(QStringLiteral("simulated"));
    if (!options.port.isEmpty())
        return FixedPortFinder(options.port);
    return [] { return FindBoardPort(); };
}

PortLookup FindBoardPort()
{
#ifdef Q_OS_WIN
    Win32Registry registry;
    return RegistryPortFinder(registry)();
#else
    for (const SerialPortListing& p : ListSerialPorts())
        if (p.board)
            return PortLookup{1, p.device};
    return {};
#endif
}

QList<SerialPortListing> ListSerialPorts()
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return a.portName() < b.portName();
    });
    QList<SerialPortListing> out;
    for (const QSerialPortInfo& info : ports) {
        SerialPortListing p;
        p.device = info.systemLocation();
        p.description = info.description();
        p.manufacturer = info.manufacturer();
        p.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            p.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            p.productId = info.productIdentifier();
        p.board = p.vendorId == BridgeVendorId && p.productId == BridgeProductId;
        out.append(p);
    }
    return out;
}

}  // namespace korvel
