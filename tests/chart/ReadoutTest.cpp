#include "chart/Readout.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

QVector<double> ramp(int n, double step)
{
    QVector<double> v;
    for (int i = 0; i < n; ++i)
        v.append(i * step);
    return v;
}

struct Chart {
    QVector<double> signal = ramp(30000, 0.5);
    std::array<QVector<double>, 3> dgt;

    ReadoutInput at(double value, double XStep = 1.0)
    {
        ReadoutInput in;
        in.ReadoutOn = true;
        in.bottomAxisMax = 30000;
        in.mouseValue = value;
        in.XStep = XStep;
        in.lastVisibleIndex = static_cast<int>(signal.size()) - 1;
        in.series1Y = &signal;
        for (int line = 0; line < 3; ++line)
            in.dgtY[line] = &dgt[line];
        in.DigitalCentre = 100;
        return in;
    }
};

}  // namespace

TEST(Readout, IndexRoundsHalfToEvenAndShowsIndexTimesStep)
{
    Chart chart;
    auto r = Chart1MouseMoveReadout(chart.at(10.4));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->index, 10);
    EXPECT_EQ(r->panel1, QStringLiteral("X=10,00, Y=5,00"));
    EXPECT_EQ(Chart1MouseMoveReadout(chart.at(10.5))->index, 10);
    EXPECT_EQ(Chart1MouseMoveReadout(chart.at(11.5))->index, 12);
}

TEST(Readout, SilentWhenOffOrAxisShortOrOutsideThePoints)
{
    Chart chart;
    ReadoutInput in = chart.at(0.5, 0.001);
    in.bottomAxisMax = 0.9;
    EXPECT_FALSE(Chart1MouseMoveReadout(in));
    in.bottomAxisMax = 1.0;
    EXPECT_FALSE(Chart1MouseMoveReadout(in));

    in = chart.at(5);
    in.ReadoutOn = false;
    EXPECT_FALSE(Chart1MouseMoveReadout(in));

    EXPECT_FALSE(Chart1MouseMoveReadout(chart.at(-0.6)));
    EXPECT_TRUE(Chart1MouseMoveReadout(chart.at(-0.4)));
    in = chart.at(200);
    in.lastVisibleIndex = 199;
    EXPECT_FALSE(Chart1MouseMoveReadout(in));
    in.mouseValue = 199;
    EXPECT_TRUE(Chart1MouseMoveReadout(in));

    EXPECT_FALSE(Chart1MouseMoveReadout(chart.at(5, 0.0)));
}

TEST(Readout, OneMegahertzDataInMicroseconds)
{
    Chart chart;
    const double step = static_cast<double>(14.0L / 14.7456L);
    auto r = Chart1MouseMoveReadout(chart.at(100, step));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->index, 105);
    EXPECT_TRUE(r->panel1.startsWith(QStringLiteral("X=99,69, Y=52,50")));
}

TEST(Readout, DigitalLinesHighLowAndUnchecked)
{
    Chart chart;
    chart.dgt[0] = {90, 110};
    chart.dgt[1] = {110, 110};
    chart.dgt[2] = {110, 100};
    ReadoutInput in = chart.at(1);
    in.cbDgt = {true, false, true};
    EXPECT_EQ(Chart1MouseMoveReadout(in)->panel2, QStringLiteral("Цифровые сигналы: H x L "));
    in = chart.at(0);
    in.cbDgt = {true, true, true};
    EXPECT_EQ(Chart1MouseMoveReadout(in)->panel2, QStringLiteral("Цифровые сигналы: L H H "));
}

TEST(Readout, CheckedLineWithoutPointsReadsUnknown)
{
    Chart chart;  // accelerometer data: the digital series are empty
    ReadoutInput in = chart.at(3);
    in.cbDgt = {true, true, true};
    in.dgtY[1] = nullptr;
    EXPECT_EQ(Chart1MouseMoveReadout(in)->panel2, QStringLiteral("Цифровые сигналы: x x x "));
}

TEST(StatusClick, TogglesAndRealTimeKeepsItOff)
{
    const QByteArray ordinary("\x01\x02\x03", 3);
    StatusClickResult on = statusClick(false, ordinary);
    EXPECT_TRUE(on.ReadoutOn);
    EXPECT_FALSE(on.panel1 || on.panel2);

    StatusClickResult off = statusClick(true, ordinary);
    EXPECT_FALSE(off.ReadoutOn);
    EXPECT_EQ(off.panel1, QStringLiteral("Щелкните для отображения X,Y"));
    EXPECT_EQ(off.panel2, QString());

    for (const char* rt : {"\x14", "\x15"}) {
        for (bool was : {false, true}) {
            StatusClickResult r = statusClick(was, QByteArray(rt, 1));
            EXPECT_FALSE(r.ReadoutOn);
            EXPECT_EQ(r.panel1, QString());
            EXPECT_EQ(r.panel2, QString());
        }
    }
}
