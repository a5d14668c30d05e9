#include "cli/Subcommands.h"

namespace korvel::cli {

const std::vector<Subcommand>& Subcommands()
{
    static const std::vector<Subcommand> list = {
        {"simulate", "serve the simulated board on a pseudo-terminal", &RunSimulate},
    };
    return list;
}

}  // namespace korvel::cli
