#include "files/Cp1251.h"
#include "files/TextExport.h"
#include "app/NumberFormat.h"

#include <QStringList>
#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

using namespace korvel;

namespace {

QByteArray wordBuffer(const std::vector<quint16>& ws)
{
    QByteArray out;
    for (quint16 w : ws) {
        char b[2];
        qToLittleEndian(w, b);
        out.append(b, 2);
    }
    return out;
}

// The export's lines; every one must end in a lone CR.
QStringList linesOf(const QByteArray& bytes)
{
    EXPECT_FALSE(bytes.contains('\n'));
    EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith('\r'));
    QStringList lines = FromCp1251(bytes).split('\r');
    lines.removeLast();
    return lines;
}

TextExportInput bufferInput(int points)
{
    TextExportInput in;
    in.ScaleK = 1.22;
    in.ScaleShift = 5;
    in.AxisXName = QStringLiteral("Время, мкс");
    std::vector<quint16> ws;
    for (int i = 0; i < points; ++i)
        ws.push_back(quint16((i * 41) & 0xFFFF));
    in.SampleBuffer = wordBuffer(ws);
    in.first = 0;
    in.last = points - 1;
    return in;
}

}  // namespace

TEST(TextExport, HeaderLinesAndScaledValues)
{
    TextExportInput in = bufferInput(3);
    const TextExportOutput out = BuildTextExport(in);
    EXPECT_EQ(out.AxisYName, QStringLiteral("Напряжение, мВ"));
    EXPECT_TRUE(out.bytes.startsWith("1,22\t;scale for Y\r5\t;Shift for Y\r"
                                      "\xCD\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xE5, \xEC\xC2\t;name of Y axis\r"));
    const QStringList lines = linesOf(out.bytes);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[3], QStringLiteral("Время, мкс\t;name of X axis"));
    EXPECT_EQ(lines[4], "Y:");
    EXPECT_EQ(lines[5], "-6,10");   // (0 - 5) x 1.22
    EXPECT_EQ(lines[6], "43,92");   // (41 - 5) x 1.22
}

TEST(TextExport, BareIntegersInAdcUnits)
{
    TextExportInput in = bufferInput(300);
    in.cbTxtSaveY = 1;
    in.eYTitle = QStringLiteral("Сила, Н");
    const TextExportOutput out = BuildTextExport(in);
    EXPECT_EQ(out.AxisYName, QStringLiteral("Сила, Н"));
    const QStringList lines = linesOf(out.bytes);
    ASSERT_EQ(lines.size(), 305);
    EXPECT_EQ(lines[4], "Y:");
    for (int i = 0; i < 300; ++i) {
        bool ok = false;
        const int v = lines[5 + i].toInt(&ok);
        ASSERT_TRUE(ok) << lines[5 + i].toStdString();
        ASSERT_EQ(v, (i * 41) & 0x0FFF);
    }
}

TEST(TextExport, ZoomedRangeIsNumberedByTheChosenXColumn)
{
    TextExportInput in = bufferInput(1000);
    in.cbTxtSaveY = 1;
    in.first = 100;
    in.last = 199;
    in.cbTxtSaveX = 2;
    QStringList lines = linesOf(BuildTextExport(in).bytes);
    ASSERT_EQ(lines.size(), 105);
    EXPECT_EQ(lines[4], "X:\tY:");
    EXPECT_EQ(lines[5], QString("1\t%1").arg((100 * 41) & 0x0FFF));
    EXPECT_EQ(lines[104], QString("100\t%1").arg((199 * 41) & 0x0FFF));

    in.cbTxtSaveX = 3;
    lines = linesOf(BuildTextExport(in).bytes);
    EXPECT_TRUE(lines[5].startsWith("100\t"));
    EXPECT_TRUE(lines[104].startsWith("199\t"));

    in.cbTxtSaveX = 1;
    lines = linesOf(BuildTextExport(in).bytes);
    EXPECT_TRUE(lines[5].startsWith("0\t"));
}

TEST(TextExport, EmptyChartGivesFiveLines)
{
    TextExportInput in = bufferInput(0);
    in.first = 0;
    in.last = -1;
    EXPECT_EQ(linesOf(BuildTextExport(in).bytes).size(), 5);
}

TEST(TextExport, ShiftIsSubtractedBeforeTheFactor)
{
    TextExportInput in;
    in.ScaleK = 0.5;
    in.ScaleShift = 2048;
    in.SampleBuffer = wordBuffer({2148});
    in.last = 0;
    const QStringList lines = linesOf(BuildTextExport(in).bytes);
    EXPECT_EQ(lines.last(), "50,00");
}

TEST(TextExport, DigitalColumnsFollowTheirBits)
{
    TextExportInput in;
    in.cbTxtSaveY = 1;
    in.cbDgt1 = in.cbDgt2 = in.cbDgt3 = true;
    in.SampleBuffer = wordBuffer({0xA00F, 0x4001});
    in.last = 1;
    const QStringList lines = linesOf(BuildTextExport(in).bytes);
    EXPECT_EQ(lines[4], QStringLiteral("Y:\tXP2/конт.2\tXP2/конт.3\tXP3/конт.8"));
    EXPECT_EQ(lines[5], "15\t1\t0\t1");
    EXPECT_EQ(lines[6], "1\t0\t1\t0");
}

TEST(TextExport, RealTimeRowsCarryTemperatureWhenAsked)
{
    std::vector<quint16> signal(65536, 0);
    std::vector<qint16> temperature(65536, 0);
    signal[0] = 100;
    temperature[0] = -10;
    TextExportInput in;
    in.cbTxtSaveY = 1;
    in.realTimeData = true;
    in.RealTimeSignal = signal;
    in.RealTimeTemperature = temperature;
    in.last = 0;
    EXPECT_EQ(linesOf(BuildTextExport(in).bytes).last(), "100");
    in.cbTermo = true;
    const QStringList lines = linesOf(BuildTextExport(in).bytes);
    EXPECT_EQ(lines[4], "Y:\tT");
    EXPECT_EQ(lines[5], "100\t-2,50");
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
    std::vector<qint16> temperature(65536);
    for (int i = 0; i < 65536; ++i)
        temperature[i] = qint16(ws[points + i]);
    TextExportInput in;
    in.cbTxtSaveY = 1;
    in.cbTxtSaveX = 3;
    in.CoefficientsFromFile = true;
    in.DataKind = 129;
    in.SampleBuffer = wordBuffer(ws);
    in.RealTimeSignal = signal;
    in.RealTimeTemperature = temperature;
    in.first = 65530;
    in.last = points - 1;
    const QStringList lines = linesOf(BuildTextExport(in).bytes);
    ASSERT_EQ(lines.size(), 5 + (points - 65530));
    EXPECT_EQ(lines[4], "X:\tY:\tT");
    for (int i = 65530; i < points; ++i) {
        const QString t = FormatFixed((i % 400 - 200) / 4.0, 2);
        ASSERT_EQ(lines[5 + i - 65530], QString("%1\t%2\t%3").arg(i).arg(i & 0x0FFF).arg(t)) << i;
    }
}
