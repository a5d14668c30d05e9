#include "PlotFixture.h"

#include "chart/AxisRounding.h"
#include "chart/ChartFill.h"
#include "chart/DigitalLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korvel;
using namespace korvel::testing;

namespace {

std::vector<std::pair<double, double>> pointsOf(const QCPGraph* g)
{
    std::vector<std::pair<double, double>> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it)
        out.emplace_back(it->key, it->value);
    return out;
}

TEST(AxisRounding, EndsWidenOutwardToWholeSteps)
{
    const AxisEnds a = RoundedAxisEnds(101.3, 498.2);
    EXPECT_DOUBLE_EQ(a.minimum, 100.0);
    EXPECT_DOUBLE_EQ(a.maximum, 500.0);
    // Already round ends stay where they are.
    const AxisEnds b = RoundedAxisEnds(100.0, 500.0);
    EXPECT_DOUBLE_EQ(b.minimum, 100.0);
    EXPECT_DOUBLE_EQ(b.maximum, 500.0);
    // Small negative values: the step is 0.5.
    const AxisEnds c = RoundedAxisEnds(-0.37, 0.81);
    EXPECT_DOUBLE_EQ(c.minimum, -0.5);
    EXPECT_DOUBLE_EQ(c.maximum, 1.0);
    // Reversed input is the same interval.
    const AxisEnds d = RoundedAxisEnds(498.2, 101.3);
    EXPECT_DOUBLE_EQ(d.minimum, 100.0);
    EXPECT_DOUBLE_EQ(d.maximum, 500.0);
}

TEST(AxisRounding, FlatAndNonFiniteInput)
{
    // A constant signal still needs a non-empty axis around it.
    const AxisEnds flat = RoundedAxisEnds(2048.0, 2048.0);
    EXPECT_LT(flat.minimum, 2048.0);
    EXPECT_GT(flat.maximum, 2048.0);
    const AxisEnds zero = RoundedAxisEnds(0.0, 0.0);
    EXPECT_LT(zero.minimum, 0.0);
    EXPECT_GT(zero.maximum, 0.0);
    const double inf = std::numeric_limits<double>::infinity();
    const AxisEnds bad = RoundedAxisEnds(0.0, inf);
    EXPECT_EQ(bad.maximum, inf);
}

TEST(ChartFill, FillReplacesPointsAndAppendExtends)
{
    TestPlot t;
    fillGraph(t.graphs.Series1, makeSeries(5, [](int i) { return 10.0 * i; }));
    fillGraph(t.graphs.Series1, makeSeries(3, [](int i) { return -1.0 * i; }));
    EXPECT_EQ(pointsOf(t.graphs.Series1),
              (std::vector<std::pair<double, double>>{{0, 0}, {1, -1}, {2, -2}}));

    appendPoint(t.graphs.Series1, 3, -3);
    PointSeries more;
    more.append(4, -4);
    more.append(5, -5);
    appendPoints(t.graphs.Series1, more);
    ASSERT_EQ(t.graphs.Series1->data()->size(), 6);
    EXPECT_EQ(pointsOf(t.graphs.Series1).back(), (std::pair<double, double>{5, -5}));

    clearGraph(t.graphs.Series1);
    EXPECT_TRUE(t.graphs.Series1->data()->isEmpty());
}

TEST(ChartFill, PlotGoesToTheGraphOfTheSameNameAndReplacesAllSix)
{
    TestPlot t;
    fillGraph(t.graphs.Series2, makeSeries(4, [](int) { return 1.0; }));  // left from before

    ChartPlot p;
    p.Series1 = makeSeries(10, [](int i) { return 100.0 + i; });
    p.SeriDgt[0] = makeSeries(10, [](int) { return 1.0; });
    p.SeriDgt[1] = makeSeries(10, [](int) { return 2.0; });
    p.SeriDgt[2] = makeSeries(10, [](int) { return 3.0; });
    p.SeriTermo = makeSeries(10, [](int) { return 22.5; });
    applyChartPlot(t.plot.get(), t.graphs, p, false);

    EXPECT_EQ(t.graphs.Series1->data()->at(9)->value, 109.0);
    EXPECT_EQ(t.graphs.SeriDgt1->data()->at(0)->value, 1.0);
    EXPECT_EQ(t.graphs.SeriDgt2->data()->at(0)->value, 2.0);
    EXPECT_EQ(t.graphs.SeriDgt3->data()->at(0)->value, 3.0);
    EXPECT_EQ(t.graphs.SeriTermo->data()->at(0)->value, 22.5);
    EXPECT_TRUE(t.graphs.Series2->data()->isEmpty());
}

TEST(ChartFill, AutomaticAxesFitTheDataWithRoundedLeftEnds)
{
    TestPlot t;
    ChartPlot p;
    p.Series1 = makeSeries(1000, [](int i) { return 300.0 + 198.2 * std::sin(i * 0.01); });
    p.SeriTermo = makeSeries(1000, [](int i) { return 20.0 + i * 0.001; });
    applyChartPlot(t.plot.get(), t.graphs, p, false);

    const QCPRange left = t.plot->yAxis->range();
    EXPECT_LE(left.lower, 300.0 - 198.2);
    EXPECT_GE(left.upper, 300.0 + 198.2 * std::sin(157 * 0.01) - 1e-9);
    const AxisEnds rounded = RoundedAxisEnds(left.lower, left.upper);
    EXPECT_DOUBLE_EQ(rounded.minimum, left.lower);
    EXPECT_DOUBLE_EQ(rounded.maximum, left.upper);

    EXPECT_DOUBLE_EQ(t.plot->xAxis->range().lower, 0.0);
    EXPECT_DOUBLE_EQ(t.plot->xAxis->range().upper, 999.0);
    // The temperature axis follows its own trace, not the signal's.
    EXPECT_NEAR(t.plot->yAxis2->range().lower, 20.0, 1e-9);
    EXPECT_NEAR(t.plot->yAxis2->range().upper, 20.999, 1e-9);
}

TEST(ChartFill, ZoomedAxesAreKeptAndAnEmptyPlotLeavesAxesUsable)
{
    TestPlot t;
    t.plot->xAxis->setRange(10, 20);
    t.plot->yAxis->setRange(-3, 3);
    ChartPlot p;
    p.Series1 = makeSeries(100, [](int i) { return i * 2.0; });
    applyChartPlot(t.plot.get(), t.graphs, p, true);
    EXPECT_EQ(t.plot->xAxis->range(), QCPRange(10, 20));
    EXPECT_EQ(t.plot->yAxis->range(), QCPRange(-3, 3));

    applyChartPlot(t.plot.get(), t.graphs, ChartPlot{}, false);
    EXPECT_TRUE(t.graphs.Series1->data()->isEmpty());
    EXPECT_TRUE(std::isfinite(t.plot->yAxis->range().lower));
    EXPECT_LT(t.plot->yAxis->range().lower, t.plot->yAxis->range().upper);
}

TEST(ChartFill, ZoomedBottomWindowIsCarriedToTheNewUnitInEitherDirection)
{
    // From µs to ms: 1000..2000 becomes 1..2.
    {
        TestPlot t;
        t.plot->xAxis->setRange(1000, 2000);
        ZoomState z{true, 0, 100, 1000, 2000, 1};
        ChartPlot p;
        p.Series1 = makeSeries(10, [](int i) { return i; });
        p.digital = CalcDigitalLevels(z, 0, 9, 1000);
        applyChartPlot(t.plot.get(), t.graphs, p, true);
        EXPECT_DOUBLE_EQ(t.plot->xAxis->range().lower, 1.0);
        EXPECT_DOUBLE_EQ(t.plot->xAxis->range().upper, 2.0);
    }
    // From ms to µs: the new minimum 1000 lies above the old maximum 2, which a plain
    // minimum-then-maximum order would turn into a swapped window.
    {
        TestPlot t;
        t.plot->xAxis->setRange(1, 2);
        ZoomState z{true, 0, 100, 1, 2, 1000};
        ChartPlot p;
        p.digital = CalcDigitalLevels(z, 0, 0, 1);
        applyChartPlot(t.plot.get(), t.graphs, p, true);
        EXPECT_DOUBLE_EQ(t.plot->xAxis->range().lower, 1000.0);
        EXPECT_DOUBLE_EQ(t.plot->xAxis->range().upper, 2000.0);
    }
}

}  // namespace
