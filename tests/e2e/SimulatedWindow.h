#pragma once
// A window on the in-process simulated board with a short time scale and fast reception timers,
// so a whole exchange runs in milliseconds.

#include "app/WindowRig.h"
#include "sim/SimulatedPort.h"

#include <memory>

namespace korvel::testing {

inline std::unique_ptr<SimulatedPort> FastSimulatedBoard()
{
    SimOptions o;
    o.timeScale = 0.001;
    return std::make_unique<SimulatedPort>(o);
}

struct SimulatedWindow : WindowRig {
    SimulatedPort* port = nullptr;

    SimulatedWindow()
    {
        auto p = FastSimulatedBoard();
        port = p.get();
        build(std::move(p), QStringLiteral("simulated"));
        acq().timRx().setInterval(20);
        acq().timSendCmd().setInterval(5);
    }
    BoardSimulator& board() { return port->simulator(); }
};

}  // namespace korvel::testing
