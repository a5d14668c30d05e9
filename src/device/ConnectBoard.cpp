#include "device/ConnectBoard.h"

#include "device/Commands.h"

namespace korvel {

ConnectOutcome ConnectBoard(SerialPort& port, const PortFinder& findPort, Messages& messages)
{
    const QString notFound = QStringLiteral("АЦП не обнаружено");
    ConnectOutcome outcome;
    port.close();
    const PortLookup found = findPort();
    if (found.number < 0)
        messages.information(notFound);
    port.close();
    if (found.number <= 0)
        return outcome;
    if (!port.open(found.device)) {
        messages.information(notFound);
        outcome.state = ConnectState::PortWouldNotOpen;
        return outcome;
    }
    port.setLineParameters();
    port.setBaudRate(cmd::LineBaudRate);
    // The greeting goes out only at the board's speed.
    port.write(cmd::cmdConnect());
    outcome.state = ConnectState::Connected;
    outcome.device = found.device;
    return outcome;
}

}  // namespace korvel
