#include "files/TextExport.h"
#include "text/Cp1251.h"
#include "text/NumberFormat.h"

#include <QStringList>
#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

using namespace korvel;

namespace {

QByteArray wordBuffer(const std::vector<quint16>& ws)
{
    QByteArray out(qsizetype(ws.size()) * 2, Qt::Uninitialized);
    for (size_t i = 0; i < ws.size(); ++i)
        qToLittleEndian(ws[i], out.data() + 2 * i);
    return out;
}

// A record and the choices of its export.
struct Export {
    Recording record;
    TextExportInput in{};
};

// The export's lines; every one must end in a lone CR.
QStringList linesOf(const Export& e)
{
    const QByteArray bytes = BuildTextExport(e.record, e.in).bytes;
    EXPECT_FALSE(bytes.contains('\n'));
    EXPECT_TRUE(bytes.endsWith('\r'));
    QStringList lines = FromCp1251(bytes).split('\r');
    lines.removeLast();
    return lines;
}

Export bufferInput(int points)
{
    Export e;
    e.in.ScaleK = 1.22;
    e.in.ScaleShift = 5;
    e.in.AxisXName = QStringLiteral("Время, мкс");
    std::vector<quint16> ws;
    for (int i = 0; i < points; ++i)
        ws.push_back(quint16(i * 41));
    e.record.SampleBuffer = wordBuffer(ws);
    e.in.last = points - 1;
    return e;
}

}  // namespace

TEST(TextExport, HeaderLinesAndScaledValues)
{
    Export e = bufferInput(2);
    EXPECT_TRUE(BuildTextExport(e.record, e.in).bytes.startsWith(
        "1,22\t;scale for Y\r5\t;Shift for Y\r"
        "\xCD\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xE5, \xEC\xC2\t;name of Y axis\r"));
    EXPECT_EQ(linesOf(e), (QStringList{"1,22\t;scale for Y", "5\t;Shift for Y",
                                        QStringLiteral("Напряжение, мВ\t;name of Y axis"),
                                        QStringLiteral("Время, мкс\t;name of X axis"), "Y:",
                                        "-6,10", "43,92"}));

    e.in.ScaleK = 0.5;
    e.in.ScaleShift = 2048;
    e.record.SampleBuffer = wordBuffer({2148});
    e.in.last = 0;
    EXPECT_EQ(linesOf(e).last(), "50,00");

    e.in.last = -1;  // a chart with no points
    EXPECT_EQ(linesOf(e).size(), 5);
}

TEST(TextExport, BareIntegersInAdcUnits)
{
    Export e = bufferInput(300);
    e.in.cbTxtSaveY = 1;
    e.in.eYTitle = QStringLiteral("Сила, Н");
    EXPECT_EQ(BuildTextExport(e.record, e.in).AxisYName, QStringLiteral("Сила, Н"));
    const QStringList lines = linesOf(e);
    ASSERT_EQ(lines.size(), 305);
    EXPECT_EQ(lines[4], "Y:");
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(lines[5 + i], QString::number((i * 41) & 0x0FFF)) << i;
}

TEST(TextExport, ZoomedRangeIsNumberedByTheChosenXColumn)
{
    Export e = bufferInput(1000);
    e.in.cbTxtSaveY = 1;
    e.in.first = 100;
    e.in.last = 199;
    e.in.cbTxtSaveX = 2;
    QStringList lines = linesOf(e);
    ASSERT_EQ(lines.size(), 105);
    EXPECT_EQ(lines[4], "X:\tY:");
    EXPECT_EQ(lines[5], QString("1\t%1").arg((100 * 41) & 0x0FFF));
    EXPECT_EQ(lines[104], QString("100\t%1").arg((199 * 41) & 0x0FFF));
    e.in.cbTxtSaveX = 3;
    lines = linesOf(e);
    EXPECT_TRUE(lines[5].startsWith("100\t"));
    EXPECT_TRUE(lines[104].startsWith("199\t"));
    e.in.cbTxtSaveX = 1;
    EXPECT_TRUE(linesOf(e)[5].startsWith("0\t"));
}

TEST(TextExport, RealTimeRowsWithTemperatureAndDigitalLines)
{
    std::vector<quint16> signal(65536, 0);
    std::vector<qint16> temperature(65536, 0);
    signal[0] = 0xA00F;
    temperature[0] = -10;
    Export e{.record = {.ModeCommand = QByteArray(1, '\x14'), .RealTimeSignal = signal,
                        .RealTimeTemperature = temperature, .RealTimeCount = 1}};
    e.in.cbTxtSaveY = 1;
    e.in.last = 0;
    EXPECT_EQ(linesOf(e).last(), "15");
    e.in.cbTermo = true;
    e.in.cbDgt1 = e.in.cbDgt2 = e.in.cbDgt3 = true;
    const QStringList lines = linesOf(e);
    EXPECT_EQ(lines[4], QStringLiteral("Y:\tT\tXP2/конт.2\tXP2/конт.3\tXP3/конт.8"));
    EXPECT_EQ(lines[5], "15\t-2,50\t1\t0\t1");
}

TEST(TextExport, LoadedFileWithTemperatureHasATColumnAndReadsPastTheTables)
{
    // 70000 points: more than the real-time tables hold; the chart copied the first 65536.
    const int points = 70000;
    std::vector<quint16> ws(2 * points);
    for (int i = 0; i < points; ++i) {
        ws[i] = quint16(i & 0x0FFF);
        ws[points + i] = quint16(qint16(i % 400 - 200));
    }
    std::vector<quint16> signal(ws.begin(), ws.begin() + 65536);
    std::vector<qint16> temperature(ws.begin() + points, ws.begin() + points + 65536);
    Export e{.record = {.SampleBuffer = wordBuffer(ws), .DataKind = 129, .RealTimeSignal = signal,
                        .RealTimeTemperature = temperature}};
    e.in.cbTxtSaveY = 1;
    e.in.cbTxtSaveX = 3;
    e.in.CoefficientsFromFile = true;
    e.in.first = 65530;
    e.in.last = points - 1;
    const QStringList lines = linesOf(e);
    ASSERT_EQ(lines.size(), 5 + (points - 65530));
    EXPECT_EQ(lines[4], "X:\tY:\tT");
    for (int i = 65530; i < points; ++i) {
        const QString t = FormatFixed((i % 400 - 200) / 4.0, 2);
        ASSERT_EQ(lines[5 + i - 65530], QString("%1\t%2\t%3").arg(i).arg(i & 0x0FFF).arg(t)) << i;
    }
}
