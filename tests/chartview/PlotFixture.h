#pragma once
// A chart laid out like the main one (six graphs, temperature on the right axis) at a fixed
// size, ready for the drawing helpers.

#include "chartview/ChartFill.h"

#include <qcustomplot.h>

#include <memory>

namespace korvel::testing {

struct TestPlot {
    std::unique_ptr<QCustomPlot> plot = std::make_unique<QCustomPlot>();
    ChartGraphs graphs;

    TestPlot(int width = 800, int height = 400)
    {
        plot->resize(width, height);
        plot->yAxis2->setVisible(true);
        graphs.Series1 = plot->addGraph();
        graphs.SeriDgt3 = plot->addGraph();
        graphs.SeriDgt1 = plot->addGraph();
        graphs.SeriDgt2 = plot->addGraph();
        graphs.Series2 = plot->addGraph();
        graphs.SeriTermo = plot->addGraph(plot->xAxis, plot->yAxis2);
        plot->replot();
    }
};

// Points (i, f(i)) for i = 0 .. n - 1.
template <class F>
PointSeries makeSeries(int n, F f)
{
    PointSeries s;
    for (int i = 0; i < n; ++i)
        s.append(i, f(i));
    return s;
}

}  // namespace korvel::testing
