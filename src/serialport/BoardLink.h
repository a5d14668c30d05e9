#pragma once
// How the program reaches the board, from the command line: --port DEVICE skips discovery,
// --simulate uses the built-in simulated board, otherwise the bridge is looked for.

#include "device/PortLocator.h"
#include "serial/SerialPort.h"

#include <QCommandLineParser>
#include <QList>
#include <memory>
#include <optional>

namespace korvel {

struct LinkOptions {
    QString port;
    bool simulate = false;
    bool throttle = false;
};

// --port DEVICE, --simulate, --throttle.
QList<QCommandLineOption> LinkOptionList();
void AddLinkOptions(QCommandLineParser& parser);
LinkOptions LinkOptionsFrom(const QCommandLineParser& parser);

// The port object for these options (the simulated board or QSerialPort).
std::unique_ptr<SerialPort> MakeBoardPort(const LinkOptions& options, QObject* parent = nullptr);
// The finder ConnectBoard uses for these options.
PortFinder MakeBoardPortFinder(const LinkOptions& options);
// The platform's own discovery: the registry on Windows, USB IDs 10C4:EA5F elsewhere
// (the first in port-name order).
PortLookup FindBoardPort();

// A serial port the system lists, as korvel-cli ports shows it.
struct SerialPortListing {
    QString device;  // what --port takes
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    bool board = false;  // the bridge's vendor and product IDs
};

// Every serial port of the system, in port-name order.
QList<SerialPortListing> ListSerialPorts();

}  // namespace korvel
