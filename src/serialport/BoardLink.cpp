#include "serialport/BoardLink.h"

#include "serialport/QtSerialPort.h"
#include "sim/SimulatedPort.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace korvel {

void AddLinkOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("Порт платы АЦП (например /dev/ttyUSB0 или COM7)."),
                      QStringLiteral("DEVICE")});
    parser.addOption({QStringLiteral("simulate"), QStringLiteral("Работать с моделью платы АЦП.")});
    parser.addOption({QStringLiteral("throttle"),
                      QStringLiteral("Модель платы отвечает со скоростью линии 921600 бод.")});
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
    QList<QSerialPortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.hasVendorIdentifier() && info.hasProductIdentifier() &&
            info.vendorIdentifier() == BridgeVendorId && info.productIdentifier() == BridgeProductId)
            ports.append(info);
    }
    if (ports.isEmpty())
        return {};
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return a.portName() < b.portName();
    });
    return PortLookup{1, ports.front().systemLocation()};
#endif
}

}  // namespace korvel
