#pragma once
// The F/T window driven from the command line: a frequency or a duration typed into its field
// and the field left, exactly as a user would, so the divisors are the window's.

#include "settings/Settings.h"
#include "timing/FtCalculator.h"

#include <QCommandLineParser>
#include <QString>

namespace korvel::cli {

void AddFtOptions(QCommandLineParser& parser);

struct FtOutcome {
    bool usageError = false;
    QString error;  // usage text, or the calculator's error label
    DivisorPair pair;
    int SRAMblocks = 8;
    TrueValues values;
};

// --freq HZ or --time MS (exactly one), --blocks N (else the settings' SRAMblocks).
FtOutcome RunFtCalculator(const QCommandLineParser& parser, const SettingsValues& settings);

}  // namespace korvel::cli
