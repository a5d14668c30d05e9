// korvel-cli export FILE... (-o OUT | --out-dir DIR) [--x ...] [--y ...] [--digital LIST]
//                  [--temperature] [--decimal-point CHAR]
// The text export of every point of each data file, as the save button writes it after loading.

#include "chart/Scaling.h"
#include "chart/SeriesBuilder.h"
#include "cli/CliSupport.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "files/DataFileIo.h"
#include "files/TextExport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <optional>

namespace korvel::cli {

namespace {

const QString Name = QStringLiteral("export");

std::optional<int> IndexOf(const QString& value, const QStringList& names)
{
    const int i = names.indexOf(value);
    return i < 0 ? std::nullopt : std::optional<int>(i);
}

// Applies the options given on top of the settings; false on a wrong value.
bool ApplyOptions(const QCommandLineParser& parser, SettingsValues& s)
{
    if (parser.isSet(QStringLiteral("x"))) {
        const auto i = IndexOf(parser.value(QStringLiteral("x")),
                               {QStringLiteral("none"), QStringLiteral("from0"),
                                QStringLiteral("from1"), QStringLiteral("index")});
        if (!i)
            return false;
        s.cbTxtSaveX = *i;
    }
    if (parser.isSet(QStringLiteral("y"))) {
        const auto i = IndexOf(parser.value(QStringLiteral("y")),
                               {QStringLiteral("values"), QStringLiteral("adc")});
        if (!i)
            return false;
        s.cbTxtSaveY = *i;
    }
    if (parser.isSet(QStringLiteral("digital"))) {
        s.cbDgt1 = s.cbDgt2 = s.cbDgt3 = false;
        for (const QString& part : parser.value(QStringLiteral("digital")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString p = part.trimmed();
            if (p == QLatin1String("1"))
                s.cbDgt1 = true;
            else if (p == QLatin1String("2"))
                s.cbDgt2 = true;
            else if (p == QLatin1String("3"))
                s.cbDgt3 = true;
            else if (p != QLatin1String("none"))
                return false;
        }
    }
    if (parser.isSet(QStringLiteral("temperature")))
        s.cbTermo = true;
    return true;
}

QString ExportOne(const QString& path, const QString& outPath, const SettingsValues& s)
{
    const DataFileLoadResult r = LoadDataFile(path);
    if (!r.file)
        return r.error->message;
    const LoadedDataFile& f = *r.file;
    if (f.header.Variant != VariantOrdinary)
        return QStringLiteral("Данные акселерометра сохраняются только в файл *.dtw");

    ScaleCoefficients scale;
    try {
        scale = GetScaleParams(ScaleInputsFrom(s, CalcScales(s.cbXscale, 1).XUnitName)).coefficients;
    } catch (const ConversionError& e) {
        return e.message();
    }

    TextExportInput in;
    in.ScaleK = scale.ScaleK;
    in.ScaleShift = scale.ScaleShift;
    in.eYTitle = s.eYTitle;
    in.AxisXName = f.AxisXName;
    in.cbTxtSaveX = s.cbTxtSaveX;
    in.cbTxtSaveY = s.cbTxtSaveY;
    in.cbTermo = s.cbTermo;
    in.cbDgt1 = s.cbDgt1;
    in.cbDgt2 = s.cbDgt2;
    in.cbDgt3 = s.cbDgt3;
    in.CoefficientsFromFile = true;
    in.DataKind = f.header.DataKind;
    in.SampleBuffer = f.SampleBuffer;

    // A file with a temperature trace is exported from the real-time tables the chart fills.
    // They are sized to the file here: the window's tables stop at 65536 points, and reading
    // past them would export memory that is not the file's.
    const bool withTemperature = f.header.DataKind == DataKindWithTemperature;
    const qsizetype points = f.SampleBuffer.size() / (withTemperature ? 4 : 2);
    std::vector<quint16> signal;
    std::vector<qint16> temperature;
    if (withTemperature) {
        signal.assign(std::max<qsizetype>(points, Acquisition::RealTimeCapacity), 0);
        temperature.assign(signal.size(), 0);
        CopyKind129ToRealTime(f.SampleBuffer, signal, temperature);
        in.RealTimeSignal = signal;
        in.RealTimeTemperature = temperature;
    }
    in.first = 0;
    in.last = static_cast<int>(points) - 1;
    return WriteFileAtomically(outPath, BuildTextExport(in).bytes);
}

}  // namespace

int RunExport(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Write the text export of data files."));
    AddSettingsOption(parser);
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Output file (one input file)."), QStringLiteral("OUT")});
    parser.addOption({QStringLiteral("out-dir"), QStringLiteral("Write NAME.txt for each file into DIR."),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("x"), QStringLiteral("X column: none, from0, from1 or index."),
                      QStringLiteral("HOW")});
    parser.addOption({QStringLiteral("y"), QStringLiteral("Y column: values or adc."),
                      QStringLiteral("HOW")});
    parser.addOption({QStringLiteral("digital"), QStringLiteral("Digital columns, e.g. 1,3 or none."),
                      QStringLiteral("LIST")});
    parser.addOption({QStringLiteral("temperature"), QStringLiteral("Temperature column.")});
    parser.addOption({QStringLiteral("decimal-point"), QStringLiteral("Decimal separator: , or ."),
                      QStringLiteral("CHAR")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data files."),
                                 QStringLiteral("FILE..."));
    if (const int rc = ParseArguments(parser, arguments, Name); rc >= 0)
        return rc;
    const QStringList files = parser.positionalArguments();
    const bool toFile = parser.isSet(QStringLiteral("o"));
    const bool toDir = parser.isSet(QStringLiteral("out-dir"));
    if (files.isEmpty() || toFile == toDir || (toFile && files.size() != 1))
        return UsageError(Name, QStringLiteral("one FILE with -o OUT, or FILE... with --out-dir DIR"));

    SettingsValues settings = SettingsFrom(parser);
    if (!ApplyOptions(parser, settings))
        return UsageError(Name, QStringLiteral("--x none|from0|from1|index, --y values|adc, --digital 1,2,3|none"));

    std::optional<QLocale> previous;
    if (parser.isSet(QStringLiteral("decimal-point"))) {
        const QString point = parser.value(QStringLiteral("decimal-point"));
        if (point != QLatin1String(",") && point != QLatin1String("."))
            return UsageError(Name, QStringLiteral("--decimal-point is , or ."));
        previous = QLocale();
        QLocale::setDefault(point == QLatin1String(",") ? QLocale(QLocale::Russian, QLocale::Russia)
                                                        : QLocale(QLocale::English, QLocale::UnitedStates));
    }

    int rc = ExitOk;
    for (const QString& path : files) {
        const QString out = toFile ? parser.value(QStringLiteral("o"))
                                   : QDir(parser.value(QStringLiteral("out-dir")))
                                         .filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".txt"));
        const QString error = ExportOne(path, out, settings);
        if (!error.isEmpty())
            rc = Failure(error);
    }
    if (previous)
        QLocale::setDefault(*previous);
    return rc;
}

}  // namespace korvel::cli
