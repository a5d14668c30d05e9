#include "chart/SeriesBuilder.h"
#include "support/SampleWords.h"

#include <QByteArray>
#include <QtEndian>
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

using namespace korvel;
using korvel::testing::Words;

namespace {

const ScaleCoefficients unit{1.0, 0};

// The command literals hold no zero byte, so they end where the text does.
Recording ordinary(const QByteArray& buffer, const char* command = "\x01\x02\x03")
{
    return {.SampleBuffer = buffer, .ModeCommand = QByteArray(command), .SamplePeriod = 2.0};
}

// A real-time record at one point a second.
Recording realTime(const std::vector<quint16>& signal, int count,
                   Recording::RealTimeState state = Recording::RealTimeState::Counting)
{
    return {.ModeCommand = QByteArray(1, '\x14'), .SamplePeriod = 1000000.0, .RealTimeSignal = signal,
            .RealTimeCount = count, .realTimeState = state};
}

DisplayOptions mode(int displayMode, std::array<bool, 3> lines = {})
{
    DisplayOptions o;
    o.displayMode = displayMode;
    o.cbDgt = lines;
    return o;
}

}  // namespace

TEST(OrdinaryPlot, SamplesAndDigitalLineOne)
{
    const QByteArray buf = Words({0x0005, 0x2006, 0x4007, 0xE008});
    const ChartPlot p = BuildChartPlot(ordinary(buf), mode(1, {true, false, false}), unit, {});
    EXPECT_EQ(p.Series1.x, (QVector<double>{0, 1, 2, 3}));
    EXPECT_EQ(p.Series1.y, (QVector<double>{5, 6, 7, 8}));
    const DigitalLevels& lv = p.digital->levels;
    EXPECT_EQ(p.SeriDgt[0].y, (QVector<double>{lv.low[0], lv.high[0], lv.low[0], lv.high[0]}));
    EXPECT_TRUE(p.SeriDgt[1].isEmpty());
    EXPECT_TRUE(p.SeriDgt[2].isEmpty());
    EXPECT_EQ(p.XStep, 1.0);
}

TEST(OrdinaryPlot, DigitalLevelsNestInTheSignalRange)
{
    const QByteArray buf = Words({100, 250, 500, 300});
    const ChartPlot p = BuildChartPlot(ordinary(buf), mode(1), unit, {});
    const DigitalLevels& lv = p.digital->levels;
    EXPECT_EQ(lv.DigitalCentre, 300.0);
    EXPECT_EQ(lv.low[2], 260.0);
    EXPECT_EQ(lv.high[2], 340.0);
    EXPECT_NEAR(lv.low[0], 271.43, 0.005);
    EXPECT_NEAR(lv.high[0], 328.57, 0.005);
    EXPECT_NEAR(lv.high[1], 333.33, 0.005);
}

TEST(OrdinaryPlot, TimeAxisUsesPeriodAndUnitAndDigitalLinesShareIt)
{
    const QByteArray buf = Words({0x2001, 0x0002, 0x2003});
    DisplayOptions o = mode(0, {true, true, true});
    o.XUnitFactor = 1000;
    const ChartPlot p = BuildChartPlot(ordinary(buf), o, unit, {});
    EXPECT_EQ(p.Series1.x, (QVector<double>{0, 0.002, 0.004}));
    for (const PointSeries& s : p.SeriDgt)
        EXPECT_EQ(s.x, p.Series1.x);
    EXPECT_EQ(p.XStep, 0.002);
}

TEST(OrdinaryPlot, SmoothingAppliesToTheSignalOnly)
{
    const QByteArray buf = Words({0x2000, 5, 0x2005});
    DisplayOptions o = mode(1, {true, false, false});
    o.cbInt = true;
    o.seInt = 2;
    const ChartPlot p = BuildChartPlot(ordinary(buf), o, unit, {});
    EXPECT_EQ(p.Series1.y, (QVector<double>{0, 2, 4}));
    const DigitalLevels& lv = p.digital->levels;
    EXPECT_EQ(p.SeriDgt[0].y, (QVector<double>{lv.high[0], lv.low[0], lv.high[0]}));
}

TEST(OrdinaryPlot, Kind129PlotsTemperaturesWhateverCbTermoSays)
{
    const QByteArray buf = Words({10, 20, 90, 0xFFD7});
    Recording d = ordinary(buf);
    d.DataKind = 129;
    const ChartPlot p = BuildChartPlot(d, mode(1), unit, {});  // cbTermo unchecked
    EXPECT_EQ(p.Series1.y, (QVector<double>{10, 20}));
    EXPECT_EQ(p.SeriTermo.y, (QVector<double>{22.5, -10.25}));
    EXPECT_EQ(p.SeriTermo.x, (QVector<double>{0, 1}));
}

TEST(OrdinaryPlot, EmptyAndOddBuffers)
{
    const DisplayOptions o = mode(0, {true, true, true});
    const ChartPlot empty = BuildChartPlot(ordinary(QByteArray()), o, unit, {});
    EXPECT_TRUE(empty.Series1.isEmpty());
    EXPECT_TRUE(empty.SeriDgt[2].isEmpty());
    EXPECT_EQ(empty.digital->levels.DigitalCentre, 0.0);
    EXPECT_EQ(empty.digital->levels.high[2], 0.0);

    // A trailing odd byte (and an unpaired temperature word) is never read as a sample.
    QByteArray odd = Words({7, 8});
    odd.append('\x55');
    EXPECT_EQ(BuildChartPlot(ordinary(odd), o, unit, {}).Series1.size(), 2);
    const QByteArray three = Words({1, 2, 3});
    Recording d = ordinary(three);
    d.DataKind = 129;
    const ChartPlot p = BuildChartPlot(d, o, unit, {});
    EXPECT_EQ(p.Series1.y, (QVector<double>{1}));
    EXPECT_EQ(p.SeriTermo.y, (QVector<double>{0.5}));
}

TEST(DigitalLevelsZoom, LevelsFromTheLeftAxisAndWindowCarriedToTheNewUnit)
{
    ZoomState z;
    z.ChartZoomed = true;
    z.leftMin = 0;
    z.leftMax = 1000;
    z.bottomMin = 1000;
    z.bottomMax = 2000;
    z.PrevXUnitFactor = 1;
    const DigitalLevelsResult r = CalcDigitalLevels(z, -5, 5, 1000);
    EXPECT_EQ(r.levels.DigitalCentre, 500.0);
    ASSERT_TRUE(r.bottomAxis.has_value());
    EXPECT_EQ(r.bottomAxis->firstMaximum, 2000.0 * 1000000.0);
    EXPECT_EQ(r.bottomAxis->minimum, 1.0);
    EXPECT_EQ(r.bottomAxis->maximum, 2.0);
    EXPECT_EQ(r.PrevXUnitFactor, 1000);
    EXPECT_FALSE(CalcDigitalLevels({}, -5, 5, 1000).bottomAxis.has_value());

    // No earlier plot recorded a unit: the window stays rather than collapsing to zero.
    z.PrevXUnitFactor = 0;
    EXPECT_EQ(CalcDigitalLevels(z, 0, 0, 1000).bottomAxis->minimum, 1000.0);
}

TEST(PlotKind, ChosenByTheModeCommand)
{
    EXPECT_EQ(PlotKindOf(QByteArray("\x1A\x80\x03", 3)), PlotKind::AccelerometerTwoChannels);
    EXPECT_EQ(PlotKindOf(QByteArray("\x1A", 1)), PlotKind::AccelerometerOneChannel);
    // Externally triggered accelerometer runs take the ordinary plot.
    EXPECT_EQ(PlotKindOf(QByteArray("\x3A\x80\x03", 3)), PlotKind::Ordinary);
    EXPECT_EQ(PlotKindOf(QByteArray("\x5A\x80\x03", 3)), PlotKind::Ordinary);
}

TEST(AccelerometerPlot, TwoChannelsWithOffsets)
{
    const QByteArray buf = Words({0x8010, 0x0010, 0x8020, 0x0020, 0x0030});
    const ChartPlot p =
        BuildChartPlot(ordinary(buf, "\x1A\x80\x03"), mode(1, {true, true, true}), unit, {});
    EXPECT_TRUE(p.AccelerometerMode);
    EXPECT_EQ(p.Series1.x, (QVector<double>{0, 1}));
    EXPECT_EQ(p.Series1.y, (QVector<double>{1, 17}));
    EXPECT_EQ(p.Series2.x, (QVector<double>{0, 1, 2}));
    EXPECT_EQ(p.Series2.y, (QVector<double>{93, 109, 125}));
    EXPECT_TRUE(p.SeriDgt[0].isEmpty());
    EXPECT_FALSE(p.XStep.has_value());
    EXPECT_FALSE(p.digital.has_value());
}

TEST(AccelerometerPlot, EachChannelSmoothsOnItsOwn)
{
    // X rests at 1000, Y at 0: a shared accumulator would drag both toward each other.
    const QByteArray buf = Words({0x8000 | 1000, 0, 0x8000 | 1000, 0});
    DisplayOptions o = mode(1);
    o.cbInt = true;
    o.seInt = 4;
    const ChartPlot p = BuildChartPlot(ordinary(buf, "\x1A\x80\x03"), o, unit, {});
    EXPECT_EQ(p.Series1.y, (QVector<double>{985, 985}));
    EXPECT_EQ(p.Series2.y, (QVector<double>{77, 77}));
}

TEST(AccelerometerPlot, OneChannelTimeAxisColourFlagAndReadoutStep)
{
    const QByteArray buf = Words({0x0100, 0x8200, 0x0300});
    const Recording d = ordinary(buf, "\x1A\xE0\x02");
    DisplayOptions o = mode(3);
    o.XUnitFactor = 1000;
    o.cbY = true;
    const ChartPlot p = BuildChartPlot(d, o, unit, {});
    EXPECT_TRUE(p.series1TakesSeries2Colour);
    EXPECT_EQ(p.Series1.y, (QVector<double>{0x100, 0x200, 0x300}));
    EXPECT_DOUBLE_EQ(p.Series1.x.value(2), 1.4);
    EXPECT_DOUBLE_EQ(p.readoutStep, 0.7);
    EXPECT_EQ(AccelXStep(1, 0.0007, 1000), 1.0);
}

TEST(RealTimePlot, AppendThenRebuildDoesNotDoublePoints)
{
    std::vector<quint16> signal(65536, 0);
    signal[0] = 0x2000 | 10;
    signal[1] = 0x0000 | 20;
    signal[2] = 0xE000 | 30;
    Recording rec = realTime(signal, 2);
    DisplayOptions o = mode(1, {true, false, true});
    o.cbTermo = true;

    const RealTimePlot a = BuildRealTimePlot(rec, 21.5, o, unit, true);
    EXPECT_FALSE(a.rebuild);
    EXPECT_EQ(a.RealTimeCount, 3);
    EXPECT_EQ(a.Series1.x, (QVector<double>{2}));
    EXPECT_EQ(a.Series1.y, (QVector<double>{30}));
    EXPECT_EQ(a.SeriTermo.y, (QVector<double>{21.5}));
    EXPECT_TRUE(a.showSecondary);
    EXPECT_EQ(a.secondaryDgt[0].y, (QVector<double>{5}));
    EXPECT_EQ(a.secondaryDgt[2].y, (QVector<double>{1}));
    EXPECT_FALSE(a.secondaryLine[1]);

    rec.RealTimeCount = a.RealTimeCount;
    const RealTimePlot r = BuildRealTimePlot(rec, 21.5, o, unit, false);
    EXPECT_TRUE(r.rebuild);
    EXPECT_EQ(r.RealTimeCount, 3);
    EXPECT_EQ(r.Series1.y, (QVector<double>{10, 20, 30}));
    EXPECT_TRUE(r.SeriTermo.isEmpty());
    EXPECT_EQ(r.secondaryDgt[0].y, (QVector<double>{5, 4, 5}));
    EXPECT_EQ(r.secondaryDgt[2].y, (QVector<double>{0, 0, 1}));
    EXPECT_EQ(r.secondaryDgt[2].x, (QVector<double>{0, 1, 2}));
}

TEST(RealTimePlot, NeverReadsPastTheTables)
{
    std::vector<quint16> signal(4, 7);
    DisplayOptions o = mode(0, {true, true, true});
    o.XUnitFactor = 1000000;
    const RealTimePlot full = BuildRealTimePlot(realTime(signal, 4), 0.0, o, unit, true);
    EXPECT_TRUE(full.Series1.isEmpty());
    EXPECT_TRUE(full.secondaryDgt[0].isEmpty());
    EXPECT_EQ(full.RealTimeCount, 4);

    const Recording fresh = realTime(signal, 0, Recording::RealTimeState::AwaitingFirstReply);
    EXPECT_TRUE(BuildRealTimePlot(fresh, 0.0, o, unit, true).Series1.isEmpty());
    const RealTimePlot rebuilt = BuildRealTimePlot(realTime(signal, 9), 0.0, o, unit, false);
    EXPECT_EQ(rebuilt.Series1.x, (QVector<double>{0, 1, 2, 3}));
    EXPECT_EQ(rebuilt.XStep, 1.0);
}

TEST(Kind129Copy, FillsTheRealTimeTablesOnlyAsFarAsTheyReach)
{
    const qsizetype n = 65537;
    QByteArray buf(static_cast<qsizetype>(n * 4), '\0');
    for (qsizetype i = 0; i < n; ++i) {
        qToLittleEndian<quint16>(static_cast<quint16>(i & 0x0FFF), buf.data() + 2 * i);
        qToLittleEndian<qint16>(static_cast<qint16>(-(i & 0xFF)), buf.data() + 2 * (n + i));
    }
    std::vector<quint16> signal(65536, 0xFFFF);
    std::vector<qint16> temperature(65536, 0);
    EXPECT_EQ(CopyKind129ToRealTime(buf, signal, temperature), 65536);
    EXPECT_EQ(signal[4097], 1);
    EXPECT_EQ(temperature[3], -3);
    EXPECT_EQ(temperature[65535], -255);

    Recording d = ordinary(buf);
    d.DataKind = 129;
    const ChartPlot p = BuildChartPlot(d, mode(1), unit, {});
    EXPECT_EQ(p.Series1.size(), n);
    EXPECT_EQ(p.SeriTermo.size(), n);
    EXPECT_EQ(p.SeriTermo.y.back(), 0.0);  // sample 65536: low byte 0
}
