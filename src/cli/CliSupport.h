#pragma once
// What the subcommands share: the board link, the settings file, messages on stderr, waiting
// on the event loop with a limit, and saving as the save button would.

#include "chart/Scaling.h"
#include "serial/SerialPort.h"
#include "serialport/BoardLink.h"
#include "settings/Settings.h"
#include "text/Messages.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <functional>
#include <memory>
#include <span>

namespace korvel::cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// Prints every message on stderr and never waits for an answer (OK/Cancel answers Cancel).
class PrintedMessages : public Messages {
public:
    void information(const QString& text) override { print(text); }
    void message(const QString& text) override { print(text); }
    void error(const QString& text) override { print(text); }
    bool askOkCancel(const QString& text) override
    {
        print(text);
        return false;
    }
    static void print(const QString& text);
};

// "korvel-cli NAME: text" on stderr; returns ExitUsage.
int UsageError(const QString& name, const QString& text);
// The program's own message on stderr; returns ExitFailure.
int Failure(const QString& text);

// Tests put the board behind the link options here (an in-process board they can look into).
using BoardPortFactory = std::function<std::unique_ptr<SerialPort>(const LinkOptions&)>;
void SetBoardPortFactory(BoardPortFactory factory);

// --settings FILE; without it the Korvel.ini beside the executable.
void AddSettingsOption(QCommandLineParser& parser);
SettingsValues SettingsFrom(const QCommandLineParser& parser);

// Parses arguments; --help prints and gives ExitOk, an error gives ExitUsage. Returns -1 when
// the subcommand should go on.
int ParseArguments(QCommandLineParser& parser, const QStringList& arguments, const QString& name);

// The port found and opened as the window's ConnectBoard does it, or null after its message.
std::unique_ptr<SerialPort> ConnectFromOptions(const QCommandLineParser& parser);

// Runs the event loop until done() holds or timeoutMs passes (negative: no limit). Returns
// whether done() held.
bool WaitFor(const std::function<bool()>& done, qint64 timeoutMs);

// The scaling controls as the settings file leaves them.
ScaleInputs ScaleInputsFrom(const SettingsValues& settings, const QString& XUnitName);

// Everything saving needs that the measurement or recording left behind.
struct SaveSource {
    bool AccelerometerMode = false;
    bool realTimeData = false;
    bool termoHasPoints = false;
    int RealTimeCount = 0;
    std::span<const quint16> RealTimeSignal;
    std::span<const qint16> RealTimeTemperature;
    quint16 BlockCount = 0;
    QByteArray SampleBuffer;
    double SamplePeriod = 0;
    QString XUnitName;
    QString comment;
};

// The save button's work for path: a data file, or for the ".txt" extension the text export
// of every point. Scaling and names come from the settings as the window would have them.
// Returns an empty string or the message of the failure.
QString SaveAsSaveButton(const QString& path, const SaveSource& source,
                         const SettingsValues& settings);

// Quotes s as a JSON string.
QString JsonString(const QString& s);

}  // namespace korvel::cli
