#pragma once
// What the subcommands share: the board link, the settings file, messages on stderr, waiting
// on the event loop with a limit, and saving as the save button would.

#include "chart/Scaling.h"
#include "record/Recording.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "serial/SerialPort.h"
#include "serialport/BoardLink.h"
#include "settings/Settings.h"
#include "text/Messages.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace korvel::cli {

// Prints every message on stderr and never waits for an answer (OK/Cancel answers Cancel).
class PrintedMessages : public Messages {
public:
    void information(const QString& text) override { print(text); }
    void message(const QString& text) override { print(text); }
    void error(const QString& text) override
    {
        ++errors;
        print(text);
    }
    bool askOkCancel(const QString& text) override
    {
        print(text);
        return false;
    }
    static void print(const QString& text);

    // Errors told so far: each one ended an operation.
    int errors = 0;
};

// The program's own message on stderr; returns ExitFailure.
int Failure(const QString& text);

// Tests put the board behind the link options here (an in-process board they can look into).
using BoardPortFactory = std::function<std::unique_ptr<SerialPort>(const LinkOptions&)>;
void SetBoardPortFactory(BoardPortFactory factory);

// --settings FILE, and a note in the help naming the file the shared rule gives.
void AddSettingsOption(CommandLine& cl);
// The file the settings come from: --settings, or the window's rule.
QString SettingsPathFor(const CommandLine& cl);
// The settings as the window would read them. A --settings file that is missing or not a file
// is an error (printed); the file of the window's rule may be missing (the defaults then).
std::optional<SettingsValues> SettingsFrom(const CommandLine& cl);
// "Файл настроек: PATH" with "(нет такого файла: значения по умолчанию)" when it is missing.
QString SettingsNote(const QString& path);

// --port, --simulate, --throttle and --timeout SECONDS.
void AddBoardOptions(CommandLine& cl);
// --timeout in milliseconds, or fallbackMs when it was not given.
qint64 TimeoutMs(CommandLine& cl, qint64 fallbackMs);

// --comment TEXT and -o FILE of the subcommands that save as the save button does.
void AddSaveOptions(CommandLine& cl);

// --digital LIST: lines 1, 2 and 3 as a comma-separated list, or none; fallback when not given.
std::array<bool, 3> DigitalLinesOption(CommandLine& cl, const std::array<bool, 3>& fallback);

// The port found and opened as the window's ConnectBoard does it, or null after its message
// (with the system's reason when a port would not open).
std::unique_ptr<SerialPort> ConnectFromOptions(const CommandLine& cl);

// Runs the event loop until done() holds or timeoutMs passes (negative: no limit). Returns
// whether done() held.
bool WaitFor(const std::function<bool()>& done, qint64 timeoutMs);

// The scaling controls as the settings file leaves them.
ScaleInputs ScaleInputsFrom(const SettingsValues& settings, const QString& XUnitName);

// What saving needs besides the record, as the run left the window's controls.
struct SaveChoices {
    bool AccelerometerMode = false;
    bool termoHasPoints = false;    // the temperature trace holds points
    QString XUnitName;
    QString comment;
};

// The coefficients a save would write, or the conversion's message. The accelerometer layout
// stores none, so it needs none (as in the window).
QString ScalingError(const SettingsValues& settings, bool AccelerometerMode);

// The save button's work for path: a data file, for the ".txt" extension the text export of
// every point, for ".csv", ".npy" and ".wav" that open format of every point as the chart
// plots it. Scaling and names come from the settings as the window would have them.
// Returns an empty string or the message of the failure.
QString SaveAsSaveButton(const QString& path, const Recording& record, const SaveChoices& choices,
                         const SettingsValues& settings);

// Quotes s as a JSON string.
QString JsonString(const QString& s);
// A JSON number with enough digits to give the double back; null when it is not finite.
QString JsonNumber(double v);

}  // namespace korvel::cli
