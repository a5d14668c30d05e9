#include "PlotFixture.h"

#include "chartview/ChartGeometry.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

TEST(ChartGeometry, VisibleIndicesFollowTheBottomAxisWindow)
{
    TestPlot t;
    fillGraph(t.graphs.Series1, makeSeries(11, [](int i) { return i; }));   // X 0..10
    struct Case { double lower, upper; int first, last; };
    // Points on the ends count; a window between two points or beside the data sees none.
    for (const Case c : {Case{2.5, 7.5, 3, 7}, Case{2, 7, 2, 7}, Case{-100, 100, 0, 10},
                         Case{3.2, 3.8, -1, -1}, Case{20, 30, -1, -1}}) {
        t.plot->xAxis->setRange(c.lower, c.upper);
        EXPECT_EQ(firstVisibleIndex(t.graphs.Series1), c.first) << c.lower << ".." << c.upper;
        EXPECT_EQ(lastVisibleIndex(t.graphs.Series1), c.last) << c.lower << ".." << c.upper;
    }
    EXPECT_EQ(lastVisibleIndex(t.graphs.Series2), -1);   // empty
}

TEST(ChartGeometry, PixelValueAndAxisLinesAgreeWithTheDrawnChart)
{
    TestPlot t;
    t.plot->xAxis->setRange(0, 1000);
    t.plot->replot();
    const VerticalAxisPixels px = verticalAxisPixels(t.plot.get());
    const double halfPixel = 0.5 * 1000.0 / t.plot->axisRect()->width();
    // The left axis line is where the bottom axis starts, the right one where it ends.
    EXPECT_GT(px.left, 0);            // the left axis labels lie left of it
    EXPECT_NEAR(valueAtPixelX(t.plot->xAxis, px.left), 0.0, halfPixel);
    EXPECT_NEAR(valueAtPixelX(t.plot->xAxis, px.right), 1000.0, halfPixel);
    EXPECT_NEAR(valueAtPixelX(t.plot->xAxis, (px.left + px.right) / 2.0), 500.0, halfPixel);
}

}  // namespace
