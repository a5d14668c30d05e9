#include "PlotFixture.h"

#include "chartview/ZoomGesture.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    // Moves carry no button of their own, only the one held; a release holds none.
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons(Qt::NoButton)
                                                                     : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

struct ZoomFixture : ::testing::Test {
    TestPlot t;
    ZoomGesture gesture{t.plot.get()};
    int zooms = 0;
    int undos = 0;
    QCPRange dataX, dataY;

    ZoomFixture()
    {
        fillGraph(t.graphs.Series1, makeSeries(1000, [](int i) { return 101.0 + (i % 397); }));
        fillGraph(t.graphs.SeriTermo, makeSeries(1000, [](int i) { return 20.0 + i / 100.0; }));
        autoscaleAxes(t.plot.get());
        t.plot->replot();
        dataX = t.plot->xAxis->range();
        dataY = t.plot->yAxis->range();
        QObject::connect(&gesture, &ZoomGesture::zoomed, [this] { ++zooms; });
        QObject::connect(&gesture, &ZoomGesture::undoZoomed, [this] { ++undos; });
    }
    QPoint at(int x, int y) const { return t.plot->axisRect()->rect().topLeft() + QPoint(x, y); }
    void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(t.plot.get(), QEvent::MouseButtonPress, from, button);
        mouse(t.plot.get(), QEvent::MouseMove, to, button);
        mouse(t.plot.get(), QEvent::MouseButtonRelease, to, button);
    }
};

TEST_F(ZoomFixture, DragRightZoomsEveryAxisToTheRectangle)
{
    const QPoint a = at(100, 50);
    const QPoint b = at(300, 200);
    const QCPRange x(t.plot->xAxis->pixelToCoord(a.x()), t.plot->xAxis->pixelToCoord(b.x()));
    const QCPRange y(t.plot->yAxis->pixelToCoord(b.y()), t.plot->yAxis->pixelToCoord(a.y()));
    const double temperatureTop = t.plot->yAxis2->pixelToCoord(a.y());

    auto* band = t.plot->findChild<QRubberBand*>();
    ASSERT_NE(band, nullptr);
    QCPRange seenInSignal;
    QObject::connect(&gesture, &ZoomGesture::zoomed, [&] { seenInSignal = t.plot->xAxis->range(); });
    mouse(t.plot.get(), QEvent::MouseButtonPress, a);
    mouse(t.plot.get(), QEvent::MouseMove, b);
    EXPECT_TRUE(band->isVisibleTo(t.plot.get()));
    EXPECT_EQ(band->geometry(), QRect(a, b));
    mouse(t.plot.get(), QEvent::MouseButtonRelease, b);
    EXPECT_FALSE(band->isVisibleTo(t.plot.get()));

    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(gesture.isZoomed());
    EXPECT_EQ(t.plot->xAxis->range(), x);
    EXPECT_EQ(t.plot->yAxis->range(), y);
    EXPECT_DOUBLE_EQ(t.plot->yAxis2->range().upper, temperatureTop);
    // The signal comes after the axes changed, so a handler reads the new window.
    EXPECT_EQ(seenInSignal, x);
}

TEST_F(ZoomFixture, DragLeftReturnsTheAxesToTheData)
{
    drag(at(100, 50), at(300, 200));
    ASSERT_NE(t.plot->xAxis->range(), dataX);
    drag(at(300, 10), at(200, 250));     // toward the left, whatever the vertical direction
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(gesture.isZoomed());
    EXPECT_EQ(t.plot->xAxis->range(), dataX);
    EXPECT_EQ(t.plot->yAxis->range(), dataY);
}

TEST_F(ZoomFixture, ClicksOtherButtonsAndDragsFromOutsideChangeNothing)
{
    drag(at(100, 100), at(102, 102));                       // a click with a tremble
    drag(at(100, 100), at(300, 101));                       // no height to zoom to
    drag(at(100, 100), at(300, 200), Qt::RightButton);      // the popup menu's button
    drag(at(-5, 100), at(200, 200));                        // from the axis labels
    EXPECT_EQ(zooms + undos, 0);
    EXPECT_EQ(t.plot->xAxis->range(), dataX);
}

TEST_F(ZoomFixture, RectangleOverhangingThePlottingAreaIsCutToIt)
{
    drag(at(100, 50), t.plot->axisRect()->rect().bottomRight() + QPoint(50, 50));
    EXPECT_EQ(zooms, 1);
    EXPECT_DOUBLE_EQ(t.plot->xAxis->range().upper, dataX.upper);
    EXPECT_DOUBLE_EQ(t.plot->yAxis->range().lower, dataY.lower);
}

}  // namespace
