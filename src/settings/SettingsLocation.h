#pragma once
// Where Korvel.ini lives. A copy of the program in a folder of its own (portable) keeps it beside
// the executable; an installed one, whose folder the user cannot write, keeps it in the user's
// configuration folder. A file named on the command line overrides both. The window and
// korvel-cli follow the same rule, so both see the user's calibration.

#include <QString>

namespace korvel {

inline constexpr char16_t SettingsFileName[] = u"Korvel.ini";

// True when a file can really be created in folder (rights, read-only mounts, a missing folder).
bool FolderIsWritable(const QString& folder);

// explicitPath: the --settings value, empty when not given. configFolder: the user's
// configuration folder for the program; it is created when chosen.
QString ChooseSettingsPath(const QString& explicitPath, const QString& executableFolder,
                           const QString& configFolder);

// The user's folder for Korvel's settings (~/.config/korvel on Linux). Named here rather than
// taken from the application's name, which differs between the window and korvel-cli.
QString UserSettingsFolder();

// The same with the running program's folder and UserSettingsFolder().
QString SettingsPathForThisProgram(const QString& explicitPath);

}  // namespace korvel
