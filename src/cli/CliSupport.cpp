#include "cli/CliSupport.h"

#include "chart/Scaling.h"
#include "files/DataFileIo.h"
#include "files/TextExport.h"
#include "serial/ConnectBoard.h"
#include "text/NumberFormat.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QTextStream>

namespace korvel::cli {

namespace {
BoardPortFactory& portFactory()
{
    static BoardPortFactory factory;
    return factory;
}
}  // namespace

void PrintedMessages::print(const QString& text)
{
    QTextStream(stderr) << text << Qt::endl;
}

int UsageError(const QString& name, const QString& text)
{
    QTextStream(stderr) << "korvel-cli " << name << ": " << text << Qt::endl;
    return ExitUsage;
}

int Failure(const QString& text)
{
    PrintedMessages::print(text);
    return ExitFailure;
}

void SetBoardPortFactory(BoardPortFactory factory)
{
    portFactory() = std::move(factory);
}

void AddSettingsOption(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("settings"),
                      QStringLiteral("Read FILE instead of Korvel.ini beside the program."),
                      QStringLiteral("FILE")});
}

SettingsValues SettingsFrom(const QCommandLineParser& parser)
{
    const QString path = parser.isSet(QStringLiteral("settings"))
        ? parser.value(QStringLiteral("settings"))
        : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Korvel.ini"));
    return LoadSettings(path);
}

int ParseArguments(QCommandLineParser& parser, const QStringList& arguments, const QString& name)
{
    parser.addHelpOption();
    if (!parser.parse(arguments))
        return UsageError(name, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return ExitOk;
    }
    return -1;
}

std::unique_ptr<SerialPort> ConnectFromOptions(const QCommandLineParser& parser)
{
    const LinkOptions link = LinkOptionsFrom(parser);
    std::unique_ptr<SerialPort> port = portFactory() ? portFactory()(link) : MakeBoardPort(link);
    RecordingMessages messages;
    const ConnectOutcome outcome = ConnectBoard(*port, MakeBoardPortFinder(link), messages);
    for (const QString& text : messages.texts())
        PrintedMessages::print(text);
    if (!outcome.buttonsEnabled) {
        // The window stays silent when the registry lists no bridge; a script needs a reason.
        if (messages.said.isEmpty())
            PrintedMessages::print(QStringLiteral("АЦП не обнаружено"));
        return nullptr;
    }
    return port;
}

bool WaitFor(const std::function<bool()>& done, qint64 timeoutMs)
{
    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                  : QDeadlineTimer(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

ScaleInputs ScaleInputsFrom(const SettingsValues& settings, const QString& XUnitName)
{
    ScaleInputs in;
    in.rangeIndex = settings.cbRgm;
    in.calibration = settings.calibration;
    in.extScaleIndex = settings.cbExtScale;
    in.emExtScale = settings.emExtScale;
    in.extShiftIndex = settings.cbExtShift;
    in.emExtShift = settings.emExtShift;
    in.displayMode = settings.cbShowK;
    in.eYTitle = settings.eYTitle;
    in.XUnitName = XUnitName;
    return in;
}

QString SaveAsSaveButton(const QString& path, const SaveSource& source,
                         const SettingsValues& settings)
{
    const ScaleInputs scaleIn = ScaleInputsFrom(settings, source.XUnitName);
    ScaleCoefficients scale;
    try {
        scale = GetScaleParams(scaleIn).coefficients;
    } catch (const ConversionError& e) {
        return e.message();
    }
    // The window names the X axis when the transfer starts.
    const QString AxisXName = QStringLiteral("Время, ") + source.XUnitName;

    if (ChooseSaveFormat(path, source.AccelerometerMode) == SaveFormat::TextExport) {
        TextExportInput in;
        in.ScaleK = scale.ScaleK;
        in.ScaleShift = scale.ScaleShift;
        in.eYTitle = settings.eYTitle;
        in.AxisXName = AxisXName;
        in.cbTxtSaveX = settings.cbTxtSaveX;
        in.cbTxtSaveY = settings.cbTxtSaveY;
        in.cbTermo = source.realTimeData ? source.termoHasPoints : settings.cbTermo;
        in.cbDgt1 = settings.cbDgt1;
        in.cbDgt2 = settings.cbDgt2;
        in.cbDgt3 = settings.cbDgt3;
        in.realTimeData = source.realTimeData;
        in.DataKind = DataKindSignal;
        in.first = 0;
        in.last = (source.realTimeData ? source.RealTimeCount
                                       : static_cast<int>(source.SampleBuffer.size() / 2)) - 1;
        in.RealTimeSignal = source.RealTimeSignal;
        in.RealTimeTemperature = source.RealTimeTemperature;
        in.SampleBuffer = source.SampleBuffer;
        return WriteFileAtomically(path, BuildTextExport(in).bytes);
    }

    DataFileSaveInput in;
    in.AccelerometerMode = source.AccelerometerMode;
    in.realTimeData = source.realTimeData;
    in.termoHasPoints = source.termoHasPoints;
    in.RealTimeCount = source.RealTimeCount;
    in.RealTimeSignal = source.RealTimeSignal;
    in.RealTimeTemperature = source.RealTimeTemperature;
    in.BlockCount = source.BlockCount;
    in.SampleBuffer = source.SampleBuffer;
    in.SamplePeriod = source.SamplePeriod;
    in.ScaleK = scale.ScaleK;
    in.ScaleShift = scale.ScaleShift;
    in.AxisXName = AxisXName;
    in.eYTitle = settings.eYTitle;
    in.comment = source.comment;
    const DataFileSaveResult result = SaveDataFile(path, in);
    return result.output ? QString() : result.error;
}

QString JsonString(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

}  // namespace korvel::cli
