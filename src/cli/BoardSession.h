#pragma once
// The board behind the command line: its options, the connection as the window makes it, and
// waiting on the event loop for what it sends.

#include "cli/CommandLine.h"
#include "serial/SerialPort.h"
#include "serialport/BoardLink.h"

#include <functional>
#include <memory>

namespace korvel::cli {

// Tests put the board behind the link options here (an in-process board they can look into).
using BoardPortFactory = std::function<std::unique_ptr<SerialPort>(const LinkOptions&)>;
void SetBoardPortFactory(BoardPortFactory factory);

// --port, --simulate, --throttle and --timeout SECONDS.
void AddBoardOptions(CommandLine& cl);
// --timeout in milliseconds, or fallbackMs when it was not given.
qint64 TimeoutMs(CommandLine& cl, qint64 fallbackMs);

// The port found and opened as the window's ConnectBoard does it, or null after its message
// (with the system's reason when a port would not open).
std::unique_ptr<SerialPort> ConnectFromOptions(const CommandLine& cl);

// Runs the event loop until done() holds or timeoutMs passes (negative: no limit). Returns
// whether done() held.
bool WaitFor(const std::function<bool()>& done, qint64 timeoutMs);

}  // namespace korvel::cli
