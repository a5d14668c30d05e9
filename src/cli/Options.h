#pragma once
// The options the subcommands share, read as the window would read its controls: the settings
// file, the comment and output of a save, the digital lines, and the scaling controls the
// settings leave.

#include "chart/Scaling.h"
#include "cli/CommandLine.h"
#include "settings/Settings.h"

#include <QString>
#include <array>
#include <optional>

namespace korvel::cli {

// --settings FILE, and a note in the help naming the file the shared rule gives.
void AddSettingsOption(CommandLine& cl);
// The file the settings come from: --settings, or the window's rule.
QString SettingsPathFor(const CommandLine& cl);
// The settings as the window would read them. A --settings file that is missing or not a file
// is an error (printed); the file of the window's rule may be missing (the defaults then). A
// file the reader refuses, or a number in it that does not convert, is an error either way.
std::optional<SettingsValues> SettingsFrom(const CommandLine& cl);
// "Файл настроек: PATH" with "(нет такого файла: значения по умолчанию)" when it is missing.
QString SettingsNote(const QString& path);

// --comment TEXT and -o FILE of the subcommands that save as the save button does.
void AddSaveOptions(CommandLine& cl);

// --digital LIST: lines 1, 2 and 3 as a comma-separated list, or none; fallback when not given.
std::array<bool, 3> DigitalLinesOption(CommandLine& cl, const std::array<bool, 3>& fallback);

// The scaling controls as the settings file leaves them.
ScaleInputs ScaleInputsFrom(const SettingsValues& settings, const QString& XUnitName);

}  // namespace korvel::cli
