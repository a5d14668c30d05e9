// korvel-cli export FILE... (-o OUT | -o - | --out-dir DIR) [--x ...] [--y ...] [--digital LIST]
//                  [--temperature] [--decimal-point CHAR] [--file-scaling] [--from X] [--to X]
// The text export of each data file, as the save button writes it after loading. Every name is
// checked before anything is written; building the text and writing it are separate steps, so
// another output format is another builder.

#include "chart/Scaling.h"
#include "chart/SeriesBuilder.h"
#include "cli/CliSupport.h"
#include "cli/OutputFile.h"
#include "cli/Subcommands.h"
#include "device/Acquisition.h"
#include "files/Cp1251.h"
#include "files/DataFileIo.h"
#include "files/TextExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

namespace korvel::cli {

namespace {

// What the command line chose, on top of the settings.
struct ExportChoices {
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

// The unit the file's X name ends with ("Время, мс"); microseconds when it names none.
int XUnitFactorOfName(const QString& AxisXName)
{
    for (int index = 0; index < 3; ++index) {
        const XUnit unit = CalcScales(index, 1);
        if (AxisXName.endsWith(QStringLiteral(", ") + unit.XUnitName))
            return unit.XUnitFactor;
    }
    return 1;
}

struct PointRange {
    int first = 0;
    int last = -1;
};

// The points whose X (in the file's unit) lies within [from, to], as a zoom of the chart to
// that stretch would show them.
std::optional<PointRange> PointsWithin(const LoadedDataFile& f, int points,
                                       const ExportChoices& c)
{
    PointRange r{0, points - 1};
    if (!c.from && !c.to)
        return r;
    const int factor = XUnitFactorOfName(f.AxisXName);
    const double period = f.header.SamplePeriod;
    if (!(period > 0) || !std::isfinite(period))
        return std::nullopt;
    const auto x = [&](long long i) { return SampleX(i, 0, period, factor); };
    const double step = period / factor;
    if (c.from) {
        long long i = std::max(0LL, static_cast<long long>(std::ceil(*c.from / step)));
        while (i > 0 && x(i - 1) >= *c.from)
            --i;
        while (i < points && x(i) < *c.from)
            ++i;
        r.first = int(std::min<long long>(i, points));
    }
    if (c.to) {
        long long i = std::min<long long>(points - 1, static_cast<long long>(std::floor(*c.to / step)));
        while (i + 1 < points && x(i + 1) <= *c.to)
            ++i;
        while (i >= 0 && x(i) > *c.to)
            --i;
        r.last = int(std::max<long long>(i, -1));
    }
    return r;
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
    if (f.header.Variant != VariantOrdinary)
        return QStringLiteral("Данные акселерометра сохраняются только в файл *.dtw");
    const SettingsValues& s = c.settings;

    TextExportInput in;
    if (c.fileScaling) {
        in.ScaleK = f.ScaleK;
        in.ScaleShift = f.ScaleShift;
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
    const std::optional<PointRange> range = PointsWithin(f, int(points), c);
    if (!range)
        return QStringLiteral("%1: в заголовке нет периода выборки, --from и --to неприменимы").arg(path);
    in.first = range->first;
    in.last = range->last;
    const DecimalPointScope point(c.decimalPoint);
    *bytes = BuildTextExport(in).bytes;
    return {};
}

// "-" is standard output; any other name is replaced atomically.
QString WriteOutput(const QString& outPath, const QByteArray& bytes)
{
    // Without the codec the text was made without its Cyrillic letters.
    if (!Cp1251Available())
        return Cp1251MissingMessage(outPath);
    if (outPath == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
            return QStringLiteral("Не удалось вывести текст в стандартный вывод");
        return {};
    }
    return WriteFileAtomically(outPath, bytes);
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
            "--file-scaling берёт коэффициент, сдвиг и имя оси Y каждого файла. Все имена "
            "проверяются до записи: выходной файл не может совпадать со входным, два входных "
            "файла с одним именем в --out-dir — ошибка."));
    AddSettingsOption(cl);
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Выходной файл (для одного входного); «-» — стандартный вывод."),
                  QStringLiteral("ВЫХОД")});
    cl.addOption({QStringLiteral("out-dir"),
                  QStringLiteral("Писать ИМЯ.txt каждого файла в ПАПКУ (создаётся при надобности)."),
                  QStringLiteral("ПАПКА")});
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
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const QStringList files = cl.positional();
    const bool toFile = cl.isSet(QStringLiteral("o"));
    const bool toDir = cl.isSet(QStringLiteral("out-dir"));
    if (files.isEmpty() || toFile == toDir || (toFile && files.size() != 1))
        return cl.usageError(QStringLiteral("один ФАЙЛ с -o ВЫХОД, или ФАЙЛ... с --out-dir ПАПКА"));

    ExportChoices c;
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
    if (!settings)
        return ExitFailure;
    c.settings = *settings;
    ApplyOptions(cl, c.settings);
    if (cl.failed())
        return cl.usageError();

    // Every output name is settled before the first file is written.
    QStringList outputs;
    QStringList inputs = files;
    inputs << SettingsPathFor(cl);
    if (toFile) {
        outputs << cl.value(QStringLiteral("o"));
    } else {
        const QString dir = cl.value(QStringLiteral("out-dir"));
        QHash<QString, QString> byName;
        for (const QString& path : files) {
            const QString name = QFileInfo(path).completeBaseName() + QStringLiteral(".txt");
            if (byName.contains(name))
                return cl.usageError(QStringLiteral("%1 и %2 дали бы один файл %3")
                                         .arg(byName.value(name), path, name));
            byName.insert(name, path);
            outputs << QDir(dir).filePath(name);
        }
        if (QFileInfo::exists(dir) && !QFileInfo(dir).isDir())
            return cl.usageError(QStringLiteral("--out-dir %1: это не папка").arg(dir));
        if (!QDir().mkpath(dir))
            return Failure(QStringLiteral("Не удалось создать папку %1").arg(dir));
    }
    for (const QString& out : outputs) {
        if (out == QLatin1String("-"))
            continue;
        const OutputCheck check = CheckOutputPath(out, inputs);
        if (!check.ok()) {
            PrintedMessages::print(check.message);
            return check.exitCode;
        }
    }
    if (!c.fileScaling)
        if (const QString e = ScalingError(c.settings, false); !e.isEmpty())
            return Failure(e);

    int rc = ExitOk;
    for (qsizetype i = 0; i < files.size(); ++i) {
        QByteArray bytes;
        QString error = BuildText(files[i], c, &bytes);
        if (error.isEmpty())
            error = WriteOutput(outputs[i], bytes);
        if (!error.isEmpty())
            rc = Failure(error);
    }
    return rc;
}

}  // namespace korvel::cli
