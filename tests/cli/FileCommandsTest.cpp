// The file subcommands of the built program against data files the tests write.

#include "CliTestSupport.h"
#include "chart/Scaling.h"
#include "cli/Options.h"
#include "files/DataFileIo.h"
#include "files/TextExport.h"
#include "settings/Settings.h"
#include "support/RecordToSave.h"
#include "support/SampleWords.h"
#include "text/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace korvel;
using korvel::testing::CliResult;
using korvel::testing::RunCliProgram;
using korvel::testing::Words;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Signal words 2148 (digital line 1 set), 48 and 4095.
        ordinary.record.SampleBuffer = Words({0x2000 | 2148, 48, 4095});
        ordinary.record.SamplePeriod = 0.5;
        ordinary.in.ScaleK = 0.5;
        ordinary.in.ScaleShift = 2048;
        ordinary.in.AxisXName = QStringLiteral("Время, мкс");
        ordinary.in.eYTitle = QStringLiteral("Сила, Н");
        ordinary.in.comment = QStringLiteral("Давление на входе\r\nвторая строка");
        ASSERT_TRUE(ordinary.save(path("a.dtw")).output);
        ini = korvel::testing::DefaultSettingsFile(dir.path());
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void writeSettings(const QByteArray& bytes)
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    CliResult cli(QStringList args) { return RunCliProgram(args << QStringLiteral("--settings") << ini); }

    QTemporaryDir dir;
    QString ini;
    korvel::testing::RecordToSave ordinary;
};

}  // namespace

TEST_F(FileCommands, InfoPrintsEveryFieldAndGoesOnPastABadFile)
{
    QFile bad(path("bad.dtw"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray::fromHex("0100100101ffff0000"));
    bad.close();
    const CliResult r = RunCliProgram({QStringLiteral("info"), QStringLiteral("--json"), path("bad.dtw"), path("a.dtw")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("повреждён или неполон")));
    const QJsonObject j = QJsonDocument::fromJson(r.out.trimmed().toUtf8()).object();
    EXPECT_EQ(j.value(QStringLiteral("file")).toString(), path("a.dtw"));
    EXPECT_EQ(j.value(QStringLiteral("DataKind")).toInt(), 1);
    EXPECT_EQ(j.value(QStringLiteral("Variant")).toInt(), 1);
    EXPECT_EQ(j.value(QStringLiteral("SampleBytes")).toInt(), 6);
    EXPECT_EQ(j.value(QStringLiteral("SamplePeriod")).toDouble(), 0.5);
    EXPECT_EQ(j.value(QStringLiteral("ScaleK")).toDouble(), 0.5);
    EXPECT_EQ(j.value(QStringLiteral("ScaleShift")).toInt(), 2048);
    EXPECT_EQ(j.value(QStringLiteral("AxisXName")).toString(), QStringLiteral("Время, мкс"));
    EXPECT_EQ(j.value(QStringLiteral("AxisYName")).toString(), QStringLiteral("Сила, Н"));
    EXPECT_EQ(j.value(QStringLiteral("BlockCount")).toInt(), 0);
    EXPECT_EQ(j.value(QStringLiteral("Comment")).toString(), ordinary.in.comment);
    EXPECT_EQ(j.size(), 11);
}

TEST_F(FileCommands, ExportEqualsTheWindowsTextExportOfTheLoadedFile)
{
    const CliResult r = cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("a.txt"),
                             QStringLiteral("--x"), QStringLiteral("from1"), QStringLiteral("--digital"),
                             QStringLiteral("1"), QStringLiteral("--decimal-point"), QStringLiteral(",")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The settings' own scaling replaces the file's, as the window's save does after a load.
    const ScaleCoefficients s =
        GetScaleParams(cli::ScaleInputsFrom(LoadSettings(ini).values, QStringLiteral("мкс"))).coefficients;
    TextExportInput in;
    in.ScaleK = s.ScaleK;
    in.ScaleShift = s.ScaleShift;
    in.AxisXName = ordinary.in.AxisXName;
    in.cbTxtSaveX = 2;
    in.cbDgt1 = true;
    in.CoefficientsFromFile = true;
    in.last = 2;
    const QByteArray text = ReadAll(path("a.txt"));
    EXPECT_EQ(text, BuildTextExport(ordinary.record, in).bytes);
    EXPECT_TRUE(text.contains("\r3\t")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\t0\r"));

    // A point instead of the comma, ADC units, and one NAME.txt per file in a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
    ASSERT_TRUE(QFile::copy(path("a.dtw"), path("b.dtw")));
    const CliResult both = cli({QStringLiteral("export"), path("a.dtw"), path("b.dtw"), QStringLiteral("--out-dir"),
                                path("out"), QStringLiteral("--y"), QStringLiteral("adc"),
                                QStringLiteral("--decimal-point"), QStringLiteral(".")});
    ASSERT_EQ(both.exitCode, 0) << both.err.toStdString();
    const QByteArray b = ReadAll(path("out/b.txt"));
    EXPECT_TRUE(b.endsWith("\rY:\r2148\r48\r4095\r")) << b.toStdString();
    EXPECT_EQ(ReadAll(path("out/a.txt")), b);

    EXPECT_EQ(cli({QStringLiteral("export"), path("a.dtw"), path("b.dtw"), QStringLiteral("-o"), path("x.txt")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("x.txt"),
                   QStringLiteral("--decimal-point"), QStringLiteral(";")}).exitCode, 2);
}

TEST_F(FileCommands, TemperatureTraceIsExportedFromAFileThatHasOne)
{
    korvel::testing::RecordToSave rt =
        korvel::testing::recordingWithTemperature({1000, 0x4000 | 2000}, {90, -41});
    rt.in.AxisXName = QStringLiteral("Время, с");
    ASSERT_TRUE(rt.save(path("rt.dtw")).output);
    const CliResult r = cli({QStringLiteral("export"), path("rt.dtw"), QStringLiteral("-o"), path("rt.txt"),
                             QStringLiteral("--y"), QStringLiteral("adc"), QStringLiteral("--decimal-point"),
                             QStringLiteral(",")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(ReadAll(path("rt.txt")).endsWith("\rY:\tT\r1000\t22,50\r2000\t-10,25\r"))
        << ReadAll(path("rt.txt")).toStdString();
}

TEST_F(FileCommands, CommentsListTheFolderAndFindLines)
{
    ordinary.in.comment = QStringLiteral("второй файл");
    ASSERT_TRUE(ordinary.save(path("b.dtw")).output);
    QFile foreign(path("c.dtw"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray::fromHex("0700") + QByteArray(40, 'x'));
    foreign.close();

    const CliResult all = RunCliProgram({QStringLiteral("comments"), dir.path()});
    ASSERT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("=v=a.dtw=v="), QStringLiteral("Давление на входе"),
                           QStringLiteral("вторая строка"), QStringLiteral("=v=b.dtw=v="),
                           QStringLiteral("второй файл")}));
    EXPECT_FALSE(all.err.isEmpty());  // the foreign file's message

    const CliResult found = RunCliProgram({QStringLiteral("comments"), dir.path(), QStringLiteral("--find"),
                                           QStringLiteral("ВТОР")});
    EXPECT_EQ(found.out, path("a.dtw") + QStringLiteral(": вторая строка\n") + path("b.dtw")
                             + QStringLiteral(": второй файл\n"));
    const CliResult exact = RunCliProgram({QStringLiteral("comments"), dir.path(), QStringLiteral("--find"),
                                           QStringLiteral("ВТОР"), QStringLiteral("--case")});
    EXPECT_TRUE(exact.out.isEmpty());
}

TEST_F(FileCommands, DivisorsPrintTheFourTextsAndAgreeWithTheirNumbers)
{
    const CliResult lines = cli({QStringLiteral("divisors"), QStringLiteral("--freq"), QStringLiteral("2400")});
    ASSERT_EQ(lines.exitCode, 0) << lines.err.toStdString();
    const QStringList l = lines.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(l.size(), 4);
    EXPECT_TRUE(l[1].startsWith(QStringLiteral("Fвыборки,Гц=")));
    EXPECT_TRUE(l[2].startsWith(QStringLiteral("Tизмерения,мc=")));
    EXPECT_TRUE(l[3].startsWith(QStringLiteral("или ")));

    const CliResult json = cli({QStringLiteral("divisors"), QStringLiteral("--freq"), QStringLiteral("2400"),
                                QStringLiteral("--json")});
    const QJsonObject j = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const int d1 = j.value(QStringLiteral("d1")).toInt();
    const int d2 = j.value(QStringLiteral("d2")).toInt();
    EXPECT_EQ(l[0], QStringLiteral("Параметры для МК: d1=%1,d2=%2").arg(d1).arg(d2));
    EXPECT_EQ(j.value(QStringLiteral("PeriodTicks")).toInt(), (3 * d1 + 3) * d2 + 21);
    EXPECT_NEAR(j.value(QStringLiteral("F")).toDouble(), 2400, 24);
    EXPECT_NEAR(j.value(QStringLiteral("TrueTimeMs")).toDouble(), 100000, 1000);

    // A duration the window marks as too short is refused with the window's text.
    const CliResult low = cli({QStringLiteral("divisors"), QStringLiteral("--time"), QStringLiteral("10")});
    EXPECT_EQ(low.exitCode, 2);
    EXPECT_TRUE(low.err.contains(QStringLiteral("--time «10»: Tизмерения, мс<439"))) << low.err.toStdString();
    EXPECT_EQ(cli({QStringLiteral("divisors"), QStringLiteral("--freq"), QStringLiteral("1"), QStringLiteral("--time"),
                   QStringLiteral("5")}).exitCode, 2);
}

TEST_F(FileCommands, PlotWritesEachPictureKind)
{
    const CliResult png = cli({QStringLiteral("plot"), path("a.dtw"), QStringLiteral("-o"), path("a.png"),
                               QStringLiteral("--size"), QStringLiteral("640x400"), QStringLiteral("--digital"),
                               QStringLiteral("1")});
    ASSERT_EQ(png.exitCode, 0) << png.err.toStdString();
    const QImage image(path("a.png"));
    EXPECT_EQ(image.size(), QSize(640, 400));
    const CliResult svg = cli({QStringLiteral("plot"), path("a.dtw"), QStringLiteral("-o"), path("a.svg"),
                               QStringLiteral("--display-mode"), QStringLiteral("1"), QStringLiteral("--unit"),
                               QStringLiteral("ms")});
    ASSERT_EQ(svg.exitCode, 0) << svg.err.toStdString();
    const QByteArray svgText = ReadAll(path("a.svg"));
    EXPECT_TRUE(svgText.contains("<svg"));
    EXPECT_TRUE(svgText.contains(QStringLiteral("единицы АЦП").toUtf8()));
    const CliResult pdf = cli({QStringLiteral("plot"), path("a.dtw"), QStringLiteral("-o"), path("a.pdf")});
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err.toStdString();
    EXPECT_TRUE(ReadAll(path("a.pdf")).startsWith("%PDF"));

    EXPECT_EQ(cli({QStringLiteral("plot"), path("a.dtw"), QStringLiteral("-o"), path("a.bmp")}).exitCode, 2);
    const CliResult missing = cli({QStringLiteral("plot"), path("zz.dtw"), QStringLiteral("-o"), path("z.png")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Cannot open file")));
}

TEST_F(FileCommands, SettingsNumbersAreReadWhateverSeparatorTheExportWrites)
{
    // A Russian system: the window wrote the entered coefficient with a comma.
    SettingsValues s;
    s.cbExtScale = 1;
    s.emExtScale = QStringLiteral("0,5");
    RecordingMessages m;
    ASSERT_TRUE(SaveSettings(ini, s, m));
    const CliResult r = RunCliProgram({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("p.txt"),
                                       QStringLiteral("--decimal-point"), QStringLiteral("."),
                                       QStringLiteral("--settings"), ini},
                                      60000, {QStringLiteral("LC_ALL=ru_RU.UTF-8")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray text = ReadAll(path("p.txt"));
    EXPECT_TRUE(text.startsWith("0.5\t;scale for Y\r")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\rY:\r1074.00\r24.00\r2047.50\r")) << text.toStdString();
}

TEST_F(FileCommands, ACalibrationWrittenInOneLocaleIsReadInAnotherAndANonNumberIsAnError)
{
    // Written under ru_RU with a comma, read under C.UTF-8 (and the other way round).
    const std::pair<QByteArray, const char*> written[] = {{"0,5", "LC_ALL=C.UTF-8"},
                                                          {"0.5", "LC_ALL=ru_RU.UTF-8"}};
    for (const auto& [number, locale] : written) {
        writeSettings(ToCp1251(QStringLiteral("[АЦП 5В]\r\nKпреобр,(ед АЦП/мВ)=")) + number + "\r\n");
        const CliResult r = RunCliProgram(
            {QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("c.txt"),
             QStringLiteral("--decimal-point"), QStringLiteral("."), QStringLiteral("--settings"), ini},
            60000, {QString::fromLatin1(locale)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(ReadAll(path("c.txt")).startsWith("0.5\t;scale for Y\r")) << locale;
        QFile::remove(path("c.txt"));
    }

    writeSettings(ToCp1251(QStringLiteral("[АЦП 5В]\r\nKпреобр,(ед АЦП/мВ)=0,5 мВ\r\n")));
    const CliResult r =
        cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("c.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(),
              QStringLiteral("В файле настроек %1 эти значения не являются числами:\n"
                             "[АЦП 5В] Kпреобр,(ед АЦП/мВ)=0,5 мВ\n")
                  .arg(ini)
                  .toStdString());
    EXPECT_FALSE(QFile::exists(path("c.txt")));
}

TEST_F(FileCommands, ASettingsFileOverTheReadersLimitIsAnError)
{
    writeSettings("[Options]\r\nXYmode=1\r\n;" + QByteArray(1024 * 1024, 'x'));
    const CliResult r =
        cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("o.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("o.txt")));
    EXPECT_EQ(r.err.toStdString(), QStringLiteral("Файл настроек %1 не прочитан: он больше 1048576 "
                                                  "байт, а таких файлов настроек не бывает\n")
                                       .arg(ini)
                                       .toStdString());
}

TEST_F(FileCommands, FileScalingAndAStretchOfTheRecord)
{
    // The file's own K 0,5, shift 2048 and Y name; points 1 and 2 lie within 0,5..1 µs.
    const CliResult r = cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("s.txt"),
                             QStringLiteral("--file-scaling"), QStringLiteral("--x"), QStringLiteral("index"),
                             QStringLiteral("--from"), QStringLiteral("0,5"), QStringLiteral("--to"),
                             QStringLiteral("1"), QStringLiteral("--decimal-point"), QStringLiteral(",")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(FromCp1251(ReadAll(path("s.txt"))),
              QStringLiteral("0,5\t;scale for Y\r2048\t;Shift for Y\rСила, Н\t;name of Y axis\r"
                             "Время, мкс\t;name of X axis\rX:\tY:\r1\t-1000,00\r2\t1023,50\r"));
}

TEST_F(FileCommands, ExportNeverOverwritesAnInputAndSettlesEveryNameFirst)
{
    const QByteArray original = ReadAll(path("a.dtw"));
    ASSERT_TRUE(QFile::link(path("a.dtw"), path("link.dtw")));
    EXPECT_EQ(cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), path("a.dtw")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("export"), path("link.dtw"), QStringLiteral("-o"), path("a.dtw")}).exitCode, 2);
    EXPECT_EQ(ReadAll(path("a.dtw")), original);

    // Two files that would give one name: refused before anything is made.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::copy(path("a.dtw"), path("sub/a.dtw")));
    EXPECT_EQ(cli({QStringLiteral("export"), path("a.dtw"), path("sub/a.dtw"), QStringLiteral("--out-dir"),
                   path("new/deep")}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(path("new")));
    ASSERT_TRUE(QFile::copy(path("a.dtw"), path("b.dtw")));
    EXPECT_EQ(cli({QStringLiteral("export"), path("a.dtw"), path("b.dtw"), QStringLiteral("--out-dir"),
                   path("new/deep")}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(path("new/deep/b.txt")));

    const CliResult toStdout = cli({QStringLiteral("export"), path("a.dtw"), QStringLiteral("-o"), QStringLiteral("-")});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err.toStdString();
    EXPECT_EQ(toStdout.rawOut, ReadAll(path("new/deep/a.txt")));
}

TEST_F(FileCommands, CommentsNameTheFileOfEachHitAndAListCutShort)
{
    // A regular file that lists but will not open, even for root.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/sys/vm/drop_caches"), path("b.dtw")));
    ordinary.in.comment = QStringLiteral("давление в конце");
    ASSERT_TRUE(ordinary.save(path("c.dtw")).output);
    const CliResult cut = RunCliProgram({QStringLiteral("comments"), dir.path()});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(cut.err.contains(QStringLiteral("Cannot open file")));
    EXPECT_TRUE(cut.out.startsWith(QStringLiteral("=v=a.dtw=v=\n")));  // the lines so far stay

    const CliResult hits = RunCliProgram({QStringLiteral("comments"), dir.path(), QStringLiteral("--find"),
                                          QStringLiteral("давление"), QStringLiteral("--json")});
    const QJsonObject hit = QJsonDocument::fromJson(hits.out.toUtf8()).object();
    EXPECT_EQ(hit.value(QStringLiteral("file")).toString(), path("a.dtw"));
    EXPECT_EQ(hit.value(QStringLiteral("line")).toString(), QStringLiteral("Давление на входе"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("empty")));
    const CliResult none = RunCliProgram({QStringLiteral("comments"), path("empty")});
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains(QStringLiteral("нет файлов"))) << none.err.toStdString();
}

TEST_F(FileCommands, AccelerometerFileIsPlottedWithTheSettingsScaling)
{
    // Channel X rises from 1000 to 3000, channel Y stays at 2000; the file stores no scaling.
    korvel::testing::RecordToSave ax;
    ax.in.AccelerometerMode = true;
    ax.record.BlockCount = 1;
    for (int i = 0; i < 15000; ++i) {
        const quint16 x = quint16(0x8000 | (1000 + i * 2000 / 15000));
        ax.record.SampleBuffer.append(Words({x, 2000}));
    }
    ax.record.SamplePeriod = 14 / 14.7456;
    ASSERT_TRUE(ax.save(path("ax.dtw")).output);
    const CliResult r = cli({QStringLiteral("plot"), path("ax.dtw"), QStringLiteral("-o"), path("ax.svg"),
                             QStringLiteral("--display-mode"), QStringLiteral("0")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // With the default scaling (K = 1) the value axis spans the readings, not a line at 0.
    const QByteArray svg = ReadAll(path("ax.svg"));
    EXPECT_TRUE(svg.contains(">2000<") || svg.contains(">2500<")) << svg.left(4000).toStdString();
}

TEST_F(FileCommands, AFileWhoseCoefficientIsNoFiniteNumberIsRefusedWhereverItsScalingIsUsed)
{
    for (const double K : {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        ordinary.in.ScaleK = K;
        ASSERT_TRUE(ordinary.save(path("k.dtw")).output);
        // The window's refusal of the same file when it draws it.
        QString refusal;
        try {
            CheckScaledValuesFinite({K, 2048});
        } catch (const ConversionError& e) {
            refusal = e.message();
        }
        ASSERT_FALSE(refusal.isEmpty());
        const QList<QStringList> uses = {
            {QStringLiteral("export"), path("k.dtw"), QStringLiteral("--file-scaling"), QStringLiteral("-o"), path("k.txt")},
            {QStringLiteral("export"), path("k.dtw"), QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("-o"), path("k.csv")},
            {QStringLiteral("plot"), path("k.dtw"), QStringLiteral("-o"), path("k.png")},
            {QStringLiteral("stats"), path("k.dtw"), QStringLiteral("--json")},
            {QStringLiteral("spectrum"), path("k.dtw"), QStringLiteral("--json")},
        };
        for (const QStringList& use : uses) {
            const CliResult r = cli(use);
            EXPECT_EQ(r.exitCode, 1) << use.join(' ').toStdString();
            EXPECT_TRUE(r.err.contains(refusal)) << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        }
        for (const char* made : {"k.txt", "k.csv", "k.png"})
            EXPECT_FALSE(QFile::exists(path(made))) << made;
    }
    // Without the file's own scaling the text export does not use it.
    EXPECT_EQ(cli({QStringLiteral("export"), path("k.dtw"), QStringLiteral("-o"), path("k.txt")}).exitCode, 0);
}
