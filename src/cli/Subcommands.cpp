#include "cli/Subcommands.h"

namespace korvel::cli {

const std::vector<Subcommand>& Subcommands()
{
    static const std::vector<Subcommand> list = {
        {"measure", "take one measurement and save it", &RunMeasure},
        {"read", "fetch the board's memory again and save it", &RunRead},
        {"realtime", "record the real-time mode for some seconds", &RunRealtime},
        {"temperature", "read the board's temperature sensor once", &RunTemperature},
        {"info", "show the header, scaling and comment of data files", &RunInfo},
        {"export", "write the text export of data files", &RunExport},
        {"comments", "list or search the comments of a folder's data files", &RunComments},
        {"divisors", "show the divisors the F/T window chooses", &RunDivisors},
        {"plot", "draw the chart of a data file into PNG, SVG or PDF", &RunPlot},
        {"simulate", "serve the simulated board on a pseudo-terminal", &RunSimulate},
    };
    return list;
}

}  // namespace korvel::cli
