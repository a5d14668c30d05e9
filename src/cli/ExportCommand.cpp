// korvel-cli export FILE... (-o OUT | -o - | --out-dir DIR) [--format txt|csv|npy|wav]
//                  [--x ...] [--y ...] [--digital LIST] [--temperature] [--decimal-point CHAR]
//                  [--file-scaling] [--from X] [--to X]
// The text export of each data file, as the save button writes it after loading, or one of the
// open formats. Every name is checked before anything is written; building the bytes and
// writing them are separate steps.

#include "chart/Scaling.h"
#include "chart/SeriesBuilder.h"
#include "cli/FileSignal.h"
#include "cli/Options.h"
#include "cli/OutputFile.h"
#include "cli/Printed.h"
#include "cli/SaveAsWindow.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"
#include "files/OpenExport.h"
#include "files/TextExport.h"
#include "text/Cp1251.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <limits>
#include <optional>

namespace korvel::cli {

namespace {

enum class Format { Txt, Csv, Npy, Wav };
const QStringList FormatNames = {QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("npy"),
                                 QStringLiteral("wav")};

// What the command line chose, on top of the settings.
struct ExportChoices {
    Format format = Format::Txt;
    SettingsValues settings;
    bool fileScaling = false;
    std::optional<QChar> decimalPoint;
    std::optional<double> from;
    std::optional<double> to;
};

// Applies the options given on top of the settings; a wrong value is recorded in cl.
void ApplyOptions(CommandLine& cl, SettingsValues& s)
{
    s.cbTxtSaveX = cl.choice(QStringLiteral("x"),
                             {QStringLiteral("none"), QStringLiteral("from0"), QStringLiteral("from1"),
                              QStringLiteral("index")},
                             s.cbTxtSaveX);
    s.cbTxtSaveY = cl.choice(QStringLiteral("y"), {QStringLiteral("values"), QStringLiteral("adc")},
                             s.cbTxtSaveY);
    const std::array<bool, 3> lines = DigitalLinesOption(cl, {s.cbDgt1, s.cbDgt2, s.cbDgt3});
    s.cbDgt1 = lines[0];
    s.cbDgt2 = lines[1];
    s.cbDgt3 = lines[2];
    if (cl.isSet(QStringLiteral("temperature")))
        s.cbTermo = true;
}

// The number texts of the export follow --decimal-point while it is built, and only then:
// the settings' own numbers are read in the system's format, as the window reads them.
class DecimalPointScope {
public:
    explicit DecimalPointScope(std::optional<QChar> point)
    {
        if (!point)
            return;
        previous_ = QLocale();
        QLocale::setDefault(*point == QLatin1Char(',') ? QLocale(QLocale::Russian, QLocale::Russia)
                                                       : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~DecimalPointScope()
    {
        if (previous_)
            QLocale::setDefault(*previous_);
    }

private:
    std::optional<QLocale> previous_;
};

// The text export of one file, or the message why there is none.
QString BuildText(const QString& path, const ExportChoices& c, QByteArray* bytes)
{
    const DataFileLoadResult r = LoadDataFile(path);
    if (!r.file)
        return r.error->message;
    const LoadedDataFile& f = *r.file;
    if (f.Variant != VariantOrdinary)
        return QStringLiteral("Данные акселерометра сохраняются только в файл *.dtw");
    const SettingsValues& s = c.settings;

    TextExportInput in;
    if (c.fileScaling) {
        QString error;
        const std::optional<ScaleCoefficients> own = FileScaleOf(f, &error);
        if (!own)
            return error;
        in.ScaleK = own->ScaleK;
        in.ScaleShift = own->ScaleShift;
        in.eYTitle = f.AxisYName;
    } else {
        // After a load the window's save writes the scaling of its controls, not the file's.
        try {
            const ScaleCoefficients scale =
                GetScaleParams(ScaleInputsFrom(s, CalcScales(s.cbXscale, 1).XUnitName)).coefficients;
            in.ScaleK = scale.ScaleK;
            in.ScaleShift = scale.ScaleShift;
        } catch (const ConversionError& e) {
            return e.message();
        }
        in.eYTitle = s.eYTitle;
    }
    in.AxisXName = f.AxisXName;
    in.cbTxtSaveX = s.cbTxtSaveX;
    in.cbTxtSaveY = s.cbTxtSaveY;
    in.cbTermo = s.cbTermo;
    in.cbDgt1 = s.cbDgt1;
    in.cbDgt2 = s.cbDgt2;
    in.cbDgt3 = s.cbDgt3;
    in.CoefficientsFromFile = true;

    // A file with a temperature trace has its words in pairs: the export reads both from the
    // buffer.
    const Recording& record = f.record;
    const bool withTemperature = record.DataKind == DataKindWithTemperature;
    const qsizetype points = record.SampleBuffer.size() / (withTemperature ? 4 : 2);
    const std::optional<PointRange> range =
        PointsWithinTime(int(points), record.SamplePeriod, XUnitOfName(f.AxisXName).XUnitFactor,
                         c.from, c.to);
    if (!range)
        return QStringLiteral("%1: в заголовке нет периода выборки, --from и --to неприменимы").arg(path);
    in.first = range->first;
    in.last = range->last;
    const DecimalPointScope point(c.decimalPoint);
    *bytes = BuildTextExport(record, in).bytes;
    return {};
}

// An open format of one file: the points as the chart plots the loaded file in the settings'
// display mode and X unit, with its own scaling (an accelerometer file with the settings').
QString BuildOpen(const QString& path, const ExportChoices& c, QByteArray* bytes)
{
    const DataFileLoadResult r = LoadDataFile(path);
    if (!r.file)
        return r.error->message;
    const LoadedDataFile& f = *r.file;
    const SettingsValues& s = c.settings;
    QString error;
    const std::optional<ScaleCoefficients> scale = ChartScaleOf(f, s, &error);
    if (!scale)
        return error;
    const XUnit unit = CalcScales(s.cbXscale, 1);
    const PlottedSignal signal = PlotSignal(f.record, {s.cbShowK, unit.XUnitFactor, *scale});
    const std::optional<PointRange> range = FilePointsWithin(f, *scale, c.from, c.to);
    if (!range)
        return QStringLiteral("%1: в заголовке нет периода выборки, --from и --to неприменимы").arg(path);
    const XLimits x = LimitsOf(signal, *range);
    if (c.format == Format::Wav) {
        *bytes = ToWav(signal, x.from, x.to);
        return {};
    }
    const AxisTitles titles = AxisTitlesFor(s.cbShowK, f.AxisYName, unit.XUnitName);
    const ExportTable t = BuildExportTable(signal, x.from, x.to, titles.bottom, titles.left);
    *bytes = c.format == Format::Csv ? ToCsv(t) : ToNpy(t);
    return {};
}

// The command line of export, on the CommandLine it is given.
void DefineExportOptions(CommandLine& cl)
{
    AddSettingsOption(cl);
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Выходной файл (для одного входного); «-» — стандартный вывод."),
                  QStringLiteral("ВЫХОД")});
    cl.addOption({QStringLiteral("out-dir"),
                  QStringLiteral("Писать ИМЯ.txt (.csv, .npy, .wav) каждого файла в ПАПКУ "
                                 "(создаётся при надобности)."),
                  QStringLiteral("ПАПКА")});
    cl.addOption({QStringLiteral("format"),
                  QStringLiteral("txt (текстовый файл окна, по умолчанию), csv (RFC 4180, UTF-8), "
                                 "npy (массив NumPy float64) или wav (PCM 16 бит)."),
                  QStringLiteral("ФОРМАТ")});
    cl.addOption({QStringLiteral("x"),
                  QStringLiteral("Столбец X: none (нет), from0 (нумерация с 0), from1 (с 1) или "
                                 "index (номер на графике)."),
                  QStringLiteral("ВИД")});
    cl.addOption({QStringLiteral("y"),
                  QStringLiteral("Столбец Y: values ((ед.АЦП-Сдвиг)*K) или adc (единицы АЦП)."),
                  QStringLiteral("ВИД")});
    cl.addOption({QStringLiteral("digital"),
                  QStringLiteral("Цифровые столбцы: например 1,3, или none."), QStringLiteral("СПИСОК")});
    cl.addOption({QStringLiteral("temperature"), QStringLiteral("Столбец температуры.")});
    cl.addOption({QStringLiteral("decimal-point"),
                  QStringLiteral("Десятичный разделитель в выходном тексте: , или . (по умолчанию "
                                 "системный). Числа настроек всегда читаются с системным."),
                  QStringLiteral("ЗНАК")});
    cl.addOption({QStringLiteral("file-scaling"),
                  QStringLiteral("Пересчёт по коэффициенту, сдвигу и имени оси Y самого файла.")});
    cl.addOption({QStringLiteral("from"),
                  QStringLiteral("Первая точка: от этого X (в единицах оси X файла, например мс)."),
                  QStringLiteral("X")});
    cl.addOption({QStringLiteral("to"),
                  QStringLiteral("Последняя точка: до этого X включительно."), QStringLiteral("X")});
    cl.addPositional(QStringLiteral("ФАЙЛ"), QStringLiteral("Файлы данных (*.dtw)."),
                     QStringLiteral("ФАЙЛ..."));
}

// The choices of the parsed command line over the settings; nothing, with the exit status in
// *rc, when they do not go together or the settings cannot be read.
std::optional<ExportChoices> ReadExportChoices(CommandLine& cl, int* rc)
{
    ExportChoices c;
    c.format = Format(cl.choice(QStringLiteral("format"), FormatNames, 0));
    if (c.format != Format::Txt)
        for (const char* txtOnly : {"x", "y", "digital", "temperature", "decimal-point", "file-scaling"})
            if (cl.isSet(QLatin1String(txtOnly)))
                cl.reject(QStringLiteral("--%1 относится только к --format txt").arg(QLatin1String(txtOnly)));
    c.fileScaling = cl.isSet(QStringLiteral("file-scaling"));
    const int point = cl.choice(QStringLiteral("decimal-point"), {QStringLiteral(","), QStringLiteral(".")}, -1);
    if (point >= 0)
        c.decimalPoint = point == 0 ? QLatin1Char(',') : QLatin1Char('.');
    const double any = std::numeric_limits<double>::infinity();
    if (cl.isSet(QStringLiteral("from")))
        c.from = cl.real(QStringLiteral("from"), -any, any, 0);
    if (cl.isSet(QStringLiteral("to")))
        c.to = cl.real(QStringLiteral("to"), -any, any, 0);
    if (c.from && c.to && *c.from > *c.to)
        cl.reject(QStringLiteral("--from больше --to"));
    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings) {
        *rc = ExitFailure;
        return std::nullopt;
    }
    c.settings = *settings;
    ApplyOptions(cl, c.settings);
    if (cl.failed()) {
        *rc = cl.usageError();
        return std::nullopt;
    }
    return c;
}

// One output name for each input, every one settled and checked before the first file is
// written; nothing, with the exit status in *rc, when one is refused.
std::optional<QStringList> PlanOutputs(CommandLine& cl, const QStringList& files,
                                       const ExportChoices& c, int* rc)
{
    QStringList outputs;
    QStringList inputs = files;
    inputs << SettingsPathFor(cl);
    if (cl.isSet(QStringLiteral("o"))) {
        outputs << cl.value(QStringLiteral("o"));
    } else {
        const QString dir = cl.value(QStringLiteral("out-dir"));
        QHash<QString, QString> byName;
        for (const QString& path : files) {
            const QString name = QFileInfo(path).completeBaseName() + '.' + FormatNames[int(c.format)];
            if (byName.contains(name)) {
                *rc = cl.usageError(QStringLiteral("%1 и %2 дали бы один файл %3")
                                        .arg(byName.value(name), path, name));
                return std::nullopt;
            }
            byName.insert(name, path);
            outputs << QDir(dir).filePath(name);
        }
        if (QFileInfo::exists(dir) && !QFileInfo(dir).isDir()) {
            *rc = cl.usageError(QStringLiteral("--out-dir %1: это не папка").arg(dir));
            return std::nullopt;
        }
        if (!QDir().mkpath(dir)) {
            *rc = Failure(QStringLiteral("Не удалось создать папку %1").arg(dir));
            return std::nullopt;
        }
    }
    for (const QString& out : outputs) {
        if (out == QLatin1String("-"))
            continue;
        const OutputCheck check = CheckOutputPath(out, inputs);
        if (!check.ok()) {
            PrintedMessages::print(check.message);
            *rc = check.exitCode;
            return std::nullopt;
        }
    }
    return outputs;
}

// Each file to its output; a file that fails is said and the others are still written.
int ExportFiles(const QStringList& files, const QStringList& outputs, const ExportChoices& c)
{
    int rc = ExitOk;
    for (qsizetype i = 0; i < files.size(); ++i) {
        QByteArray bytes;
        QString error = c.format == Format::Txt ? BuildText(files[i], c, &bytes)
                                                : BuildOpen(files[i], c, &bytes);
        // Without the codec the text was made without its Cyrillic letters.
        if (error.isEmpty() && c.format == Format::Txt && !Cp1251Available())
            error = Cp1251MissingMessage(outputs[i]);
        if (error.isEmpty())
            error = WriteOutput(outputs[i], bytes);
        if (!error.isEmpty())
            rc = Failure(error);
    }
    return rc;
}

}  // namespace

int RunExport(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("export"), QStringLiteral("ФАЙЛ... (-o ВЫХОД | -o - | --out-dir ПАПКА) [параметры]"),
        QStringLiteral(
            "Текстовый файл всех точек (или части записи с --from/--to) каждого файла данных, "
            "как его пишет кнопка «Сохранить» с расширением .txt после открытия файла. "
            "Параметры, которые не заданы, берутся из настроек. Значения по умолчанию "
            "пересчитываются по масштабу из настроек, а не по масштабу файла (так делает окно); "
            "--file-scaling берёт коэффициент, сдвиг и имя оси Y каждого файла. --format csv, "
            "npy или wav пишет открытый формат с точками, как их рисует график открытого файла "
            "(режим отображения и единица X из настроек, масштаб файла), в том числе для файлов "
            "акселерометра. Все имена проверяются до записи: выходной файл не может совпадать "
            "со входным, два входных файла с одним именем в --out-dir — ошибка."));
    DefineExportOptions(cl);
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const QStringList files = cl.positional();
    const bool toFile = cl.isSet(QStringLiteral("o"));
    if (files.isEmpty() || toFile == cl.isSet(QStringLiteral("out-dir")) || (toFile && files.size() != 1))
        return cl.usageError(QStringLiteral("один ФАЙЛ с -o ВЫХОД, или ФАЙЛ... с --out-dir ПАПКА"));

    int rc = ExitOk;
    const std::optional<ExportChoices> c = ReadExportChoices(cl, &rc);
    if (!c)
        return rc;
    const std::optional<QStringList> outputs = PlanOutputs(cl, files, *c, &rc);
    if (!outputs)
        return rc;
    if (c->format == Format::Txt && !c->fileScaling)
        if (const QString e = ScalingError(c->settings, false); !e.isEmpty())
            return Failure(e);
    return ExportFiles(files, *outputs, *c);
}

}  // namespace korvel::cli
