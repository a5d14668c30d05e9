#include "PlotFixture.h"

#include "chart/ChartGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvel;
using namespace korvel::testing;

namespace {

TEST(ChartGeometry, VisibleIndicesFollowTheBottomAxisWindow)
{
    TestPlot t;
    fillGraph(t.graphs.Series1, makeSeries(11, [](int i) { return i; }));   // X 0..10

    t.plot->xAxis->setRange(2.5, 7.5);
    EXPECT_EQ(firstVisibleIndex(t.graphs.Series1), 3);
    EXPECT_EQ(lastVisibleIndex(t.graphs.Series1), 7);
    // Points exactly on the ends are visible.
    t.plot->xAxis->setRange(2, 7);
    EXPECT_EQ(firstVisibleIndex(t.graphs.Series1), 2);
    EXPECT_EQ(lastVisibleIndex(t.graphs.Series1), 7);
    // A window wider than the data sees every point.
    t.plot->xAxis->setRange(-100, 100);
    EXPECT_EQ(firstVisibleIndex(t.graphs.Series1), 0);
    EXPECT_EQ(lastVisibleIndex(t.graphs.Series1), 10);
    // A window between two points or beside the data sees none.
    t.plot->xAxis->setRange(3.2, 3.8);
    EXPECT_LT(lastVisibleIndex(t.graphs.Series1), 0);
    EXPECT_LT(firstVisibleIndex(t.graphs.Series1), 0);
    t.plot->xAxis->setRange(20, 30);
    EXPECT_LT(lastVisibleIndex(t.graphs.Series1), 0);
    EXPECT_LT(lastVisibleIndex(t.graphs.Series2), 0);   // empty graph
    EXPECT_LT(lastVisibleIndex(nullptr), 0);
}

TEST(ChartGeometry, PixelValueAndAxisLinesAgreeWithTheDrawnChart)
{
    TestPlot t;
    t.plot->xAxis->setRange(0, 1000);
    t.plot->replot();

    const VerticalAxisPixels px = verticalAxisPixels(t.plot.get());
    const double halfPixel = 0.5 * 1000.0 / t.plot->axisRect()->width();
    // The left axis line is where the bottom axis starts, the right one where it ends.
    EXPECT_NEAR(valueAtPixelX(t.plot->xAxis, px.left), 0.0, halfPixel);
    EXPECT_NEAR(valueAtPixelX(t.plot->xAxis, px.right), 1000.0, halfPixel);
    EXPECT_LT(px.left, px.right);
    EXPECT_GT(px.left, 0);            // the left axis labels lie left of it
    EXPECT_LT(px.right, 800);

    const double mid = (px.left + px.right) / 2.0;
    EXPECT_NEAR(valueAtPixelX(t.plot->xAxis, mid), 500.0, halfPixel);
    EXPECT_EQ(axisPixelPosition(t.plot->xAxis), t.plot->axisRect()->bottom());
}

TEST(ChartGeometry, AxisLimitsReadAndSetTogetherOrOneAtATime)
{
    TestPlot t;
    setAxisLimits(t.plot->xAxis, 5, 50);
    EXPECT_DOUBLE_EQ(axisLimits(t.plot->xAxis).minimum, 5);
    EXPECT_DOUBLE_EQ(axisLimits(t.plot->xAxis).maximum, 50);
    // Both at once: a window entirely above the old one arrives intact.
    setAxisLimits(t.plot->xAxis, 1000, 2000);
    EXPECT_DOUBLE_EQ(axisLimits(t.plot->xAxis).minimum, 1000);
    EXPECT_DOUBLE_EQ(axisLimits(t.plot->xAxis).maximum, 2000);
    setAxisMaximum(t.plot->xAxis, 3000);
    setAxisMinimum(t.plot->xAxis, 1500);
    EXPECT_DOUBLE_EQ(axisLimits(t.plot->xAxis).minimum, 1500);
    EXPECT_DOUBLE_EQ(axisLimits(t.plot->xAxis).maximum, 3000);
}

TEST(ChartGeometry, BackgroundColourRoundTrip)
{
    TestPlot t;
    setChartBackgroundColor(t.plot.get(), QColor(10, 20, 30));
    EXPECT_EQ(chartBackgroundColor(t.plot.get()), QColor(10, 20, 30));
    setChartBackgroundColor(t.plot.get(), QColor());
    EXPECT_FALSE(chartBackgroundColor(t.plot.get()).isValid());
    // And the chart really draws with it.
    setChartBackgroundColor(t.plot.get(), QColor(0, 200, 0));
    const QImage img = t.plot->toPixmap().toImage();
    EXPECT_EQ(img.pixelColor(1, 1), QColor(0, 200, 0));
}

}  // namespace
