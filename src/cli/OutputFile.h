#pragma once
// Where a subcommand writes: checked before any work that could be lost, and a place to keep a
// finished measurement when its own file still cannot be written.

#include "cli/ExitCodes.h"
#include "cli/SaveAsWindow.h"

#include <QString>
#include <QStringList>

namespace korvel::cli {

struct OutputCheck {
    int exitCode = ExitOk;  // ExitUsage for a name that cannot be meant, ExitFailure otherwise
    QString message;
    bool ok() const { return exitCode == ExitOk; }
};

// The output path may be written: not a folder or a device, not a link to nothing, not one of
// the inputs (the same file after links are followed), and its folder exists and takes new
// files.
OutputCheck CheckOutputPath(const QString& path, const QStringList& inputs);

// True when both paths name one existing file, links followed.
bool SameFile(const QString& a, const QString& b);

// "-" is standard output; any other name is replaced atomically. An empty string, or the
// message of the failure.
QString WriteOutput(const QString& path, const QByteArray& bytes);

// Saves as the save button would; when that fails, writes the data file to a recovery name
// beside path, or else to the user's data folder (~/.local/share/korvel/recovered), and says
// where. Returns the exit status.
int SaveOrRecover(const QString& path, const Recording& record, const SaveChoices& choices,
                  const SettingsValues& settings);

}  // namespace korvel::cli
