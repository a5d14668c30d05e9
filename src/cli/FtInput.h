#pragma once
// The F/T window driven from the command line: a frequency or a duration typed into its field
// and the field left, exactly as a user would, so the divisors are the window's.

#include "cli/CommandLine.h"
#include "settings/Settings.h"
#include "timing/FtCalculator.h"

#include <QString>

namespace korvel::cli {

void AddFtOptions(CommandLine& cl);

struct FtOutcome {
    bool usageError = false;  // the message is recorded in the command line
    QString error;            // a failure that is not the caller's usage
    DivisorPair pair;
    int SRAMblocks = 8;
    TrueValues values;
};

// --freq HZ or --time MS (exactly one), --blocks N (else the settings' SRAMblocks). A value the
// window's field would mark as out of range is a usage error carrying the window's text.
FtOutcome RunFtCalculator(CommandLine& cl, const SettingsValues& settings);

}  // namespace korvel::cli
