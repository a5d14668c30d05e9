// The file subcommands of the built program against data files the tests write.

#include "CliTestSupport.h"
#include "chart/Scaling.h"
#include "cli/CliSupport.h"
#include "files/DataFileIo.h"
#include "files/TextExport.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::CliResult;
using korvel::testing::RunCliProgram;

namespace {

QByteArray Words(std::initializer_list<quint16> words)
{
    QByteArray out;
    for (quint16 w : words) {
        out.append(char(w & 0xFF));
        out.append(char(w >> 8));
    }
    return out;
}

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
        ordinary.SampleBuffer = Words({0x2000 | 2148, 48, 4095});
        ordinary.SamplePeriod = 0.5;
        ordinary.ScaleK = 0.5;
        ordinary.ScaleShift = 2048;
        ordinary.AxisXName = QStringLiteral("Время, мкс");
        ordinary.eYTitle = QStringLiteral("Сила, Н");
        ordinary.comment = QStringLiteral("Давление на входе\r\nвторая строка");
        ASSERT_TRUE(SaveDataFile(path("a.dtw"), ordinary).output);
        // No ini beside the test: the settings file is named and does not exist, so defaults.
        ini = path("none.ini");
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    CliResult cli(QStringList args) { return RunCliProgram(args << QStringLiteral("--settings") << ini); }

    QTemporaryDir dir;
    QString ini;
    DataFileSaveInput ordinary;
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
    EXPECT_EQ(j.value(QStringLiteral("Comment")).toString(), ordinary.comment);
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
        GetScaleParams(cli::ScaleInputsFrom(LoadSettings(ini), QStringLiteral("мкс"))).coefficients;
    TextExportInput in;
    in.ScaleK = s.ScaleK;
    in.ScaleShift = s.ScaleShift;
    in.AxisXName = ordinary.AxisXName;
    in.cbTxtSaveX = 2;
    in.cbDgt1 = true;
    in.CoefficientsFromFile = true;
    in.SampleBuffer = ordinary.SampleBuffer;
    in.last = 2;
    const QByteArray text = ReadAll(path("a.txt"));
    EXPECT_EQ(text, BuildTextExport(in).bytes);
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
    DataFileSaveInput rt;
    rt.realTimeData = true;
    rt.termoHasPoints = true;
    rt.RealTimeCount = 2;
    const quint16 signal[] = {1000, 0x4000 | 2000};
    const qint16 quarters[] = {90, -41};
    rt.RealTimeSignal = signal;
    rt.RealTimeTemperature = quarters;
    rt.SamplePeriod = 1000000;
    rt.ScaleK = 1;
    rt.AxisXName = QStringLiteral("Время, с");
    ASSERT_TRUE(SaveDataFile(path("rt.dtw"), rt).output);
    const CliResult r = cli({QStringLiteral("export"), path("rt.dtw"), QStringLiteral("-o"), path("rt.txt"),
                             QStringLiteral("--y"), QStringLiteral("adc"), QStringLiteral("--decimal-point"),
                             QStringLiteral(",")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(ReadAll(path("rt.txt")).endsWith("\rY:\tT\r1000\t22,50\r2000\t-10,25\r"))
        << ReadAll(path("rt.txt")).toStdString();
}

TEST_F(FileCommands, CommentsListTheFolderAndFindLines)
{
    ordinary.comment = QStringLiteral("второй файл");
    ASSERT_TRUE(SaveDataFile(path("b.dtw"), ordinary).output);
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
    EXPECT_EQ(found.out, QStringLiteral("вторая строка\nвторой файл\n"));
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

    const CliResult low = cli({QStringLiteral("divisors"), QStringLiteral("--freq"), QStringLiteral("10")});
    EXPECT_EQ(low.exitCode, 1);
    EXPECT_TRUE(low.err.contains(QStringLiteral("Fвыборки, Гц<75")));
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
