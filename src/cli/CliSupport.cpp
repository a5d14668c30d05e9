#include "cli/CliSupport.h"

#include "chart/PlottedSignal.h"
#include "chart/Scaling.h"
#include "cli/FileSignal.h"
#include "device/ConnectBoard.h"
#include "files/DataFileIo.h"
#include "files/OpenExport.h"
#include "files/TextExport.h"
#include "serialport/QtSerialPort.h"
#include "record/BoardWords.h"
#include "settings/SettingsLocation.h"
#include "text/NumberFormat.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <cmath>
#include <limits>

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

int Failure(const QString& text)
{
    PrintedMessages::print(text);
    return ExitFailure;
}

void SetBoardPortFactory(BoardPortFactory factory)
{
    portFactory() = std::move(factory);
}

QString SettingsNote(const QString& path)
{
    QString note = QStringLiteral("Файл настроек: ") + path;
    if (!QFileInfo::exists(path))
        note += QStringLiteral(" (нет такого файла: значения по умолчанию)");
    return note;
}

void AddSettingsOption(CommandLine& cl)
{
    cl.addOption({QStringLiteral("settings"),
                  QStringLiteral("Читать настройки (масштаб, вид графика, вид текстового файла) "
                                 "из ФАЙЛА. Без него — Korvel.ini, как у окна программы: рядом с "
                                 "программой, если её папка доступна для записи, иначе в "
                                 "~/.config/korvel."),
                  QStringLiteral("ФАЙЛ")});
    cl.addNote(SettingsNote(SettingsPathForThisProgram({})));
}

QString SettingsPathFor(const CommandLine& cl)
{
    return SettingsPathForThisProgram(cl.value(QStringLiteral("settings")));
}

std::optional<SettingsValues> SettingsFrom(const CommandLine& cl)
{
    const QString path = SettingsPathFor(cl);
    if (cl.isSet(QStringLiteral("settings"))) {
        // A name typed on purpose that reads nothing would silently calibrate with defaults.
        const QFileInfo f(path);
        if (!f.exists()) {
            Failure(QStringLiteral("Нет файла настроек %1").arg(path));
            return std::nullopt;
        }
        if (!f.isFile()) {
            Failure(QStringLiteral("%1 — не файл настроек (это папка или устройство)").arg(path));
            return std::nullopt;
        }
    }
    return LoadSettings(path);
}

void AddBoardOptions(CommandLine& cl)
{
    for (const QCommandLineOption& o : LinkOptionList())
        cl.addOption(o);
    cl.addOption({QStringLiteral("timeout"),
                  QStringLiteral("Ждать ответа платы не дольше СЕКУНД; запуск по внешнему сигналу "
                                 "ждёт его столько же."),
                  QStringLiteral("СЕКУНДЫ")});
}

qint64 TimeoutMs(CommandLine& cl, qint64 fallbackMs)
{
    const double seconds = cl.real(QStringLiteral("timeout"), 0.1, 1e6, -1);
    return seconds < 0 ? fallbackMs : static_cast<qint64>(std::llround(seconds * 1000));
}

void AddSaveOptions(CommandLine& cl)
{
    cl.addOption({QStringLiteral("comment"), QStringLiteral("Комментарий, записываемый в файл."),
                  QStringLiteral("ТЕКСТ")});
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Файл для записи (.txt — текстовый файл со всеми точками)."),
                  QStringLiteral("ФАЙЛ")});
}

std::array<bool, 3> DigitalLinesOption(CommandLine& cl, const std::array<bool, 3>& fallback)
{
    if (!cl.isSet(QStringLiteral("digital")))
        return fallback;
    std::array<bool, 3> lines{};
    const QString list = cl.value(QStringLiteral("digital"));
    for (const QString& part : list.split(QLatin1Char(','))) {
        const QString p = part.trimmed();
        const int line = QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}.indexOf(p);
        if (line >= 0)
            lines[line] = true;
        else if (p != QLatin1String("none"))
            cl.reject(QStringLiteral("--digital «%1»: нужен список из 1, 2, 3 через запятую или none").arg(list));
    }
    return lines;
}

std::unique_ptr<SerialPort> ConnectFromOptions(const CommandLine& cl)
{
    const LinkOptions link = LinkOptionsFrom(cl.parser());
    std::unique_ptr<SerialPort> port = portFactory() ? portFactory()(link) : MakeBoardPort(link);
    RecordingMessages messages;
    const ConnectOutcome outcome = ConnectBoard(*port, MakeBoardPortFinder(link), messages);
    for (const QString& text : messages.texts())
        PrintedMessages::print(text);
    if (!outcome.connected()) {
        // The window stays silent when the registry lists no bridge; a script needs a reason.
        if (messages.said.isEmpty())
            PrintedMessages::print(QStringLiteral("АЦП не обнаружено"));
        if (const auto* qt = dynamic_cast<const QtSerialPort*>(port.get());
            qt && !qt->openFailure().isEmpty())
            PrintedMessages::print(MakeBoardPortFinder(link)().device + QStringLiteral(": ")
                                   + qt->openFailure());
        return nullptr;
    }
    return port;
}

bool WaitFor(const std::function<bool()>& done, qint64 timeoutMs)
{
    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                  : QDeadlineTimer(timeoutMs);
    // The loop sleeps until something happens; this wakes it often enough to see the clock and
    // a flag set outside any event (a signal). processEvents with a time limit never sleeps.
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

QString ScalingError(const SettingsValues& settings, bool AccelerometerMode)
{
    if (AccelerometerMode)
        return {};
    try {
        GetScaleParams(ScaleInputsFrom(settings, {}));
    } catch (const ConversionError& e) {
        return e.message();
    }
    return {};
}

namespace {

// Every point as the chart plots it after the run: the settings' display mode and scaling.
QString SaveOpenFormat(const QString& path, SaveFormat format, const Recording& record,
                       const SaveChoices& choices, const SettingsValues& settings)
{
    const XUnit unit = XUnitOfName(TimeAxisName(choices.XUnitName));
    ScaleParams scale;
    try {
        scale = GetScaleParams(ScaleInputsFrom(settings, unit.XUnitName));
    } catch (const ConversionError& e) {
        return e.message();
    }
    const PlottedSignal signal = PlotSignal(
        record, {settings.cbShowK, unit.XUnitFactor, scale.coefficients, choices.termoHasPoints});
    const double all = std::numeric_limits<double>::infinity();
    if (format == SaveFormat::Wav)
        return WriteFileAtomically(path, ToWav(signal, -all, all));
    QString yName = scale.titles.left;
    if (yName.isEmpty())
        yName = choices.AccelerometerMode ? AccelerationAxisName() : SignalAxisName();
    const ExportTable t = BuildExportTable(signal, -all, all, scale.titles.bottom, yName);
    return WriteFileAtomically(path, format == SaveFormat::Csv ? ToCsv(t) : ToNpy(t));
}

}  // namespace

QString SaveAsSaveButton(const QString& path, const Recording& record, const SaveChoices& choices,
                         const SettingsValues& settings)
{
    ScaleCoefficients scale;
    if (!choices.AccelerometerMode) {
        try {
            scale = GetScaleParams(ScaleInputsFrom(settings, choices.XUnitName)).coefficients;
        } catch (const ConversionError& e) {
            return e.message();
        }
    }
    // The window names the X axis when the transfer starts.
    const QString AxisXName = TimeAxisName(choices.XUnitName);

    if (const SaveFormat format = ChooseSaveFormat(path, choices.AccelerometerMode);
        format == SaveFormat::Csv || format == SaveFormat::Npy || format == SaveFormat::Wav)
        return SaveOpenFormat(path, format, record, choices, settings);

    if (ChooseSaveFormat(path, choices.AccelerometerMode) == SaveFormat::TextExport) {
        const bool realTimeData = record.isRealTime();
        TextExportInput in;
        in.ScaleK = scale.ScaleK;
        in.ScaleShift = scale.ScaleShift;
        in.eYTitle = settings.eYTitle;
        in.AxisXName = AxisXName;
        in.cbTxtSaveX = settings.cbTxtSaveX;
        in.cbTxtSaveY = settings.cbTxtSaveY;
        in.cbTermo = realTimeData ? choices.termoHasPoints : settings.cbTermo;
        in.cbDgt1 = settings.cbDgt1;
        in.cbDgt2 = settings.cbDgt2;
        in.cbDgt3 = settings.cbDgt3;
        in.first = 0;
        in.last = (realTimeData ? record.RealTimeCount
                                : static_cast<int>(record.SampleBuffer.size() / 2)) - 1;
        return SaveTextExport(path, record, in).error;
    }

    DataFileSaveInput in;
    in.AccelerometerMode = choices.AccelerometerMode;
    in.termoHasPoints = choices.termoHasPoints;
    in.ScaleK = scale.ScaleK;
    in.ScaleShift = scale.ScaleShift;
    in.AxisXName = AxisXName;
    in.eYTitle = settings.eYTitle;
    in.comment = choices.comment;
    const DataFileSaveResult result = SaveDataFile(path, record, in);
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

QString JsonNumber(double v)
{
    // JSON has no NaN or infinity; a damaged file's header may hold either.
    return std::isfinite(v) ? QString::number(v, 'g', 17) : QStringLiteral("null");
}

}  // namespace korvel::cli
