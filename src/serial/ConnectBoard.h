#pragma once
// Connecting to the board: find its port, open it at the board's line settings, raise the
// speed, greet it. The window and korvel-cli both call this; it never opens a port the user
// did not choose.

#include "serial/PortLocator.h"
#include "serial/SerialPort.h"
#include "text/Messages.h"

#include <optional>

namespace korvel {

struct ConnectOutcome {
    // The eight board buttons (btStart, bt1MHz, bt07MHz, btStartFExtrn, btSingle,
    // btTemperature, btRd, btAxGo) are enabled exactly when this is true.
    bool buttonsEnabled = false;
    // The port now open; empty when not connected.
    QString device;
    // Status panel 0, when the connection changes it.
    std::optional<QString> status0;
};

ConnectOutcome ConnectBoard(SerialPort& port, const PortFinder& findPort, Messages& messages);

}  // namespace korvel
