#pragma once
// Connecting to the board: find its port, open it at the board's line settings, raise the
// speed, greet it. The window and korvel-cli both call this; it never opens a port the user
// did not choose.

#include "device/PortLocator.h"
#include "serial/SerialPort.h"
#include "text/Messages.h"

namespace korvel {

// How a connection attempt ended.
enum class ConnectState {
    NoBoard,           // no port was found, or the lookup gave nothing to open
    PortWouldNotOpen,  // the board's port was found but could not be opened
    Connected,         // the port is open at the board's speed and the greeting is out
};

struct ConnectOutcome {
    ConnectState state = ConnectState::NoBoard;
    // The port now open; empty when not connected.
    QString device;
    bool connected() const { return state == ConnectState::Connected; }
};

ConnectOutcome ConnectBoard(SerialPort& port, const PortFinder& findPort, Messages& messages);

}  // namespace korvel
