#include "device/PortLocator.h"

#include <array>
#include <climits>
#include <cstring>

namespace korvel {

int PortNumberFromValue(const char* value)
{
    const size_t len = std::strlen(value);
    if (len < 3)
        return -1;
    // The first three characters are read as zeros, so only the rest is checked.
    long long n = 0;
    for (size_t i = 3; i < len; ++i) {
        if (value[i] < '0' || value[i] > '9')
            return -1;
        n = n * 10 + (value[i] - '0');
        if (n > INT_MAX)
            return -1;
    }
    return static_cast<int>(n);
}

int FindPortInUsbEnum(Registry& registry, quint16 vendorId, quint16 productId,
                      const QString& instance)
{
    std::array<char, RegistryBufferBytes> buffer{};
    int result = -1;
    Registry::Key system = 0, usb = 0, device = 0;
    if (registry.openKey(Registry::LocalMachine, QStringLiteral("SYSTEM\\\\CurrentControlSet\\\\"),
                         &system)) {
        if (registry.openKey(system, QStringLiteral("Enum\\\\USB\\\\"), &usb)) {
            // Upper-case hexadecimal digits, four wide; the rest of the name keeps its case.
            const QString upper =
                QStringLiteral("Vid_%1&Pid_%2&Mi_00\\\\%3_00\\\\Device Parameters\\\\")
                    .arg(QString::number(vendorId, 16).toUpper().rightJustified(4, ' '))
                    .arg(QString::number(productId, 16).toUpper().rightJustified(4, ' '))
                    .arg(instance);
            if (registry.openKey(usb, upper, &device)) {
                if (registry.queryString(device, QStringLiteral("PortName"), buffer.data(),
                                         RegistryBufferBytes))
                    result = PortNumberFromValue(buffer.data());
                registry.closeKey(device);
            }
            registry.closeKey(usb);
        }
        registry.closeKey(system);
    }
    return result;
}

int FindPortInBridgeEnum(Registry& registry, quint16 vendorId, quint16 productId,
                         const QString& instance)
{
    QString id = instance;
    for (QChar& c : id) {
        if (c == QLatin1Char(' '))
            c = QLatin1Char('_');
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = c.toUpper();
    }
    const QByteArray expected = QStringLiteral("USB\\VID_%1&PID_%2&MI_00\\%3_00")
                                    .arg(QString::number(vendorId, 16).toUpper().rightJustified(4, '0'))
                                    .arg(QString::number(productId, 16).toUpper().rightJustified(4, '0'))
                                    .arg(id)
                                    .toLatin1();
    std::array<char, RegistryBufferBytes> buffer{};
    int result = -1;
    // The numbered keys are dense; the first gap ends them.
    for (int k = 0; k <= 99999; ++k) {
        Registry::Key key = 0;
        const QString name = QStringLiteral("Enum\\SLABCR\\guid\\%1").arg(k, 4, 10, QLatin1Char('0'));
        if (!registry.openKey(Registry::LocalMachine, name, &key))
            break;
        if (registry.queryString(key, QStringLiteral("CRLowerDeviceID"), buffer.data(),
                                 RegistryBufferBytes) &&
            expected == QByteArray(buffer.data())) {
            if (registry.queryString(key, QStringLiteral("Portname"), buffer.data(),
                                     RegistryBufferBytes)) {
                // The last matching key wins, even over an earlier good number.
                result = PortNumberFromValue(buffer.data());
            }
        }
        registry.closeKey(key);
    }
    return result;
}

QString WindowsDeviceName(int port)
{
    const QString name = QStringLiteral("COM") + QString::number(port);
    return port > 9 ? QStringLiteral("\\\\.\\") + name : name;
}

PortFinder RegistryPortFinder(Registry& registry)
{
    return [&registry] {
        const QString instance = QString::fromLatin1(BridgeInstance);
        int n = FindPortInUsbEnum(registry, BridgeVendorId, BridgeProductId, instance);
        if (n < 0)
            n = FindPortInBridgeEnum(registry, BridgeVendorId, BridgeProductId, instance);
        return PortLookup{n, n > 0 ? WindowsDeviceName(n) : QString()};
    };
}

PortFinder FixedPortFinder(const QString& device)
{
    return [device] { return PortLookup{1, device}; };
}

}  // namespace korvel
