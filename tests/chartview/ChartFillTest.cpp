#include "PlotFixture.h"

#include "chart/AxisRounding.h"
#include "chart/DigitalLevels.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korvel;
using namespace korvel::testing;

namespace {

TEST(AxisRounding, EndsWidenOutwardToWholeSteps)
{
    struct Case { double low, high, minimum, maximum; };
    for (const Case c : {Case{101.3, 498.2, 100, 500}, Case{100, 500, 100, 500},
                         Case{498.2, 101.3, 100, 500}, Case{-0.37, 0.81, -0.5, 1.0}}) {
        const AxisEnds e = RoundedAxisEnds(c.low, c.high);
        EXPECT_DOUBLE_EQ(e.minimum, c.minimum) << c.low << ".." << c.high;
        EXPECT_DOUBLE_EQ(e.maximum, c.maximum) << c.low << ".." << c.high;
    }
    // A constant signal still gets an axis around it; nonsense passes through untouched.
    for (double v : {0.0, 2048.0}) {
        EXPECT_LT(RoundedAxisEnds(v, v).minimum, v);
        EXPECT_GT(RoundedAxisEnds(v, v).maximum, v);
    }
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundedAxisEnds(0.0, inf).maximum, inf);
}

TEST(ChartFill, FillReplacesPointsAndAppendExtends)
{
    TestPlot t;
    fillGraph(t.graphs.Series1, makeSeries(5, [](int i) { return 10.0 * i; }));
    fillGraph(t.graphs.Series1, makeSeries(3, [](int i) { return -1.0 * i; }));
    appendPoint(t.graphs.Series1, 3, -3);
    PointSeries more;
    more.append(4, -4);
    more.append(5, -5);
    appendPoints(t.graphs.Series1, more);
    const auto& d = *t.graphs.Series1->data();
    ASSERT_EQ(d.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(d.at(i)->key, i);
        EXPECT_EQ(d.at(i)->value, -i);
    }
    clearGraph(t.graphs.Series1);
    EXPECT_TRUE(t.graphs.Series1->data()->isEmpty());
}

TEST(ChartFill, PlotGoesToTheGraphOfTheSameNameAndReplacesAllSix)
{
    TestPlot t;
    fillGraph(t.graphs.Series2, makeSeries(4, [](int) { return 1.0; }));  // left from before
    ChartPlot p;
    p.Series1 = makeSeries(10, [](int i) { return 100.0 + i; });
    for (int line = 0; line < 3; ++line)
        p.SeriDgt[line] = makeSeries(10, [line](int) { return line + 1.0; });
    p.SeriTermo = makeSeries(10, [](int) { return 22.5; });
    applyChartPlot(t.plot.get(), t.graphs, p, false);

    EXPECT_EQ(t.graphs.Series1->data()->at(9)->value, 109.0);
    EXPECT_EQ(t.graphs.SeriDgt1->data()->at(0)->value, 1.0);
    EXPECT_EQ(t.graphs.SeriDgt2->data()->at(0)->value, 2.0);
    EXPECT_EQ(t.graphs.SeriDgt3->data()->at(0)->value, 3.0);
    EXPECT_EQ(t.graphs.SeriTermo->data()->at(0)->value, 22.5);
    EXPECT_TRUE(t.graphs.Series2->data()->isEmpty());
}

TEST(ChartFill, AxesFitTheDataUnlessZoomed)
{
    TestPlot t;
    ChartPlot p;
    p.Series1 = makeSeries(1000, [](int i) { return 101.3 + (i % 397); });
    p.SeriTermo = makeSeries(1000, [](int i) { return 20.0 + i * 0.001; });
    applyChartPlot(t.plot.get(), t.graphs, p, false);
    EXPECT_EQ(t.plot->yAxis->range(), QCPRange(100, 500));     // rounded ends
    EXPECT_EQ(t.plot->xAxis->range(), QCPRange(0, 999));
    // The temperature axis follows its own trace, not the signal's.
    EXPECT_NEAR(t.plot->yAxis2->range().lower, 20.0, 0.2);
    EXPECT_NEAR(t.plot->yAxis2->range().upper, 20.999, 0.2);

    t.plot->xAxis->setRange(10, 20);
    t.plot->yAxis->setRange(-3, 3);
    applyChartPlot(t.plot.get(), t.graphs, p, true);
    EXPECT_EQ(t.plot->xAxis->range(), QCPRange(10, 20));
    EXPECT_EQ(t.plot->yAxis->range(), QCPRange(-3, 3));

    // No data: the axes keep a usable range.
    applyChartPlot(t.plot.get(), t.graphs, ChartPlot{}, false);
    EXPECT_LT(t.plot->yAxis->range().lower, t.plot->yAxis->range().upper);
}

TEST(ChartFill, TemperatureAxisHoldsEveryPointWithDistinctOneDecimalLabels)
{
    ChartView c;
    c.resize(800, 400);
    c.rightAxis()->setVisible(true);
    const ChartGraphs graphs{c.Series1(), c.SeriDgt3(), c.SeriDgt1(), c.SeriDgt2(), c.Series2(),
                             c.SeriTermo()};
    // A minute climbing by quarter degrees from 21; a sensor wandering by sixteenths.
    const PointSeries traces[] = {
        makeSeries(60, [](int i) { return 21.0 + 0.25 * std::max(0, (i - 7) / 12); }),
        makeSeries(60, [](int i) { return 19.625 + 0.0625 * (i % 3); }),
    };
    for (const PointSeries& trace : traces) {
        ChartPlot p;
        p.SeriTermo = trace;
        applyChartPlot(&c, graphs, p, false);
        const auto [low, high] = std::minmax_element(trace.y.begin(), trace.y.end());
        EXPECT_LT(c.rightAxis()->range().lower, *low);
        EXPECT_GT(c.rightAxis()->range().upper, *high);
        const QVector<QString> labels = c.rightAxis()->tickVectorLabels();
        EXPECT_GE(labels.size(), 2);
        EXPECT_EQ(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
    }

    // "#.#" on both windows: no decimal when it is zero.
    SecondaryChartWindow w;
    for (QCPAxis* axis : {c.rightAxis(), w.chart()->yAxis2}) {
        QVector<double> ticks;
        QVector<QString> labels;
        axis->ticker()->generate(QCPRange(20.9, 23.1), QLocale(), 'g', 6, ticks, nullptr, &labels);
        EXPECT_EQ(labels.join(' '), QStringLiteral("21 21,5 22 22,5 23"));
    }
}

TEST(ChartFill, ZoomedBottomWindowIsCarriedToTheNewUnitInEitherDirection)
{
    // µs to ms: 1000..2000 becomes 1..2. ms to µs: the new minimum 1000 lies above the old
    // maximum 2, which a plain minimum-then-maximum order would turn into a swapped window.
    struct Case { double min, max; int from, to; double newMin, newMax; };
    for (const Case c : {Case{1000, 2000, 1, 1000, 1, 2}, Case{1, 2, 1000, 1, 1000, 2000}}) {
        TestPlot t;
        t.plot->xAxis->setRange(c.min, c.max);
        ChartPlot p;
        p.digital = CalcDigitalLevels(ZoomState{true, 0, 100, c.min, c.max, c.from}, 0, 0, c.to);
        applyChartPlot(t.plot.get(), t.graphs, p, true);
        EXPECT_DOUBLE_EQ(t.plot->xAxis->range().lower, c.newMin);
        EXPECT_DOUBLE_EQ(t.plot->xAxis->range().upper, c.newMax);
    }
}

}  // namespace
