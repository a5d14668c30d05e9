#pragma once
// Finding the board's port: the two registry layouts the USB-to-UART bridge's driver writes,
// and the platform's device name for a port number.

#include "device/Registry.h"

#include <QString>
#include <functional>

namespace korvel {

inline constexpr quint16 BridgeVendorId = 0x10C4;
inline constexpr quint16 BridgeProductId = 0xEA5F;
inline constexpr char BridgeInstance[] = "0001";
// Each lookup reads registry values into a buffer of this size.
inline constexpr quint32 RegistryBufferBytes = 100;

// "COM5" -> 5: the first three characters become '0' and the rest must be a decimal number.
// -1 when it is not one.
int PortNumberFromValue(const char* value);

int FindPortInUsbEnum(Registry& registry, quint16 vendorId, quint16 productId,
                      const QString& instance);
int FindPortInBridgeEnum(Registry& registry, quint16 vendorId, quint16 productId,
                         const QString& instance);

// "COM5"; above 9 the device namespace is needed: "\\.\COM12".
QString WindowsDeviceName(int port);

// A lookup's answer: number < 0 not found, 0 found nothing usable, > 0 the device to open.
struct PortLookup {
    int number = -1;
    QString device;
};
using PortFinder = std::function<PortLookup()>;

// Both registry lookups, the newer layout first.
PortFinder RegistryPortFinder(Registry& registry);
// A device given by the user (--port) or the simulated board: no discovery.
PortFinder FixedPortFinder(const QString& device);

}  // namespace korvel
