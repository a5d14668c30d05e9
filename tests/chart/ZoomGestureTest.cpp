#include "PlotFixture.h"

#include "chart/AxisRounding.h"
#include "chart/ZoomGesture.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <gtest/gtest.h>

#include <cmath>

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

void drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, from, button);
    mouse(w, QEvent::MouseMove, (from + to) / 2, button);
    mouse(w, QEvent::MouseMove, to, button);
    mouse(w, QEvent::MouseButtonRelease, to, button);
}

struct ZoomFixture : ::testing::Test {
    TestPlot t;
    ZoomGesture gesture{t.plot.get()};
    int zooms = 0;
    int undos = 0;

    ZoomFixture()
    {
        fillGraph(t.graphs.Series1, makeSeries(1000, [](int i) { return 101.0 + (i % 397); }));
        fillGraph(t.graphs.SeriTermo, makeSeries(1000, [](int i) { return 20.0 + i / 100.0; }));
        autoscaleAxes(t.plot.get());
        t.plot->replot();
        QObject::connect(&gesture, &ZoomGesture::zoomed, [this] { ++zooms; });
        QObject::connect(&gesture, &ZoomGesture::undoZoomed, [this] { ++undos; });
    }
    QRect area() const { return t.plot->axisRect()->rect(); }
};

TEST_F(ZoomFixture, DragRightZoomsEveryAxisToTheRectangle)
{
    const QPoint a = area().topLeft() + QPoint(100, 50);
    const QPoint b = area().topLeft() + QPoint(300, 200);
    const double x0 = t.plot->xAxis->pixelToCoord(a.x());
    const double x1 = t.plot->xAxis->pixelToCoord(b.x());
    const double yTop = t.plot->yAxis->pixelToCoord(a.y());
    const double yBottom = t.plot->yAxis->pixelToCoord(b.y());
    const double tTop = t.plot->yAxis2->pixelToCoord(a.y());

    QCPRange seenInSignal;
    QObject::connect(&gesture, &ZoomGesture::zoomed, [&] { seenInSignal = t.plot->xAxis->range(); });
    drag(t.plot.get(), a, b);

    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(undos, 0);
    EXPECT_TRUE(gesture.isZoomed());
    EXPECT_NEAR(t.plot->xAxis->range().lower, x0, 1e-9);
    EXPECT_NEAR(t.plot->xAxis->range().upper, x1, 1e-9);
    EXPECT_NEAR(t.plot->yAxis->range().lower, yBottom, 1e-9);
    EXPECT_NEAR(t.plot->yAxis->range().upper, yTop, 1e-9);
    EXPECT_NEAR(t.plot->yAxis2->range().upper, tTop, 1e-9);
    // The signal comes after the axes changed, so a handler reads the new window.
    EXPECT_NEAR(seenInSignal.lower, x0, 1e-9);
}

TEST_F(ZoomFixture, RubberBandShowsWhileDraggingAndGoesAfterwards)
{
    auto* band = t.plot->findChild<QRubberBand*>();
    ASSERT_NE(band, nullptr);
    const QPoint a = area().topLeft() + QPoint(300, 200);
    const QPoint b = area().topLeft() + QPoint(100, 50);
    mouse(t.plot.get(), QEvent::MouseButtonPress, a);
    mouse(t.plot.get(), QEvent::MouseMove, b);
    EXPECT_TRUE(band->isVisibleTo(t.plot.get()));
    EXPECT_EQ(band->geometry(), QRect(b, a));    // normalised whichever way the drag goes
    mouse(t.plot.get(), QEvent::MouseButtonRelease, b);
    EXPECT_FALSE(band->isVisibleTo(t.plot.get()));
}

TEST_F(ZoomFixture, DragLeftReturnsTheAxesToTheData)
{
    const QCPRange x = t.plot->xAxis->range();
    const QCPRange y = t.plot->yAxis->range();
    drag(t.plot.get(), area().topLeft() + QPoint(100, 50), area().topLeft() + QPoint(300, 200));
    ASSERT_NE(t.plot->xAxis->range(), x);

    // Toward the left, whatever the vertical direction.
    drag(t.plot.get(), area().topLeft() + QPoint(300, 10), area().topLeft() + QPoint(200, 250));
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(gesture.isZoomed());
    EXPECT_EQ(t.plot->xAxis->range(), x);
    EXPECT_EQ(t.plot->yAxis->range(), y);
    EXPECT_DOUBLE_EQ(t.plot->xAxis->range().upper, 999.0);
    EXPECT_DOUBLE_EQ(t.plot->yAxis->range().lower, RoundedAxisEnds(101, 101 + 396).minimum);
}

TEST_F(ZoomFixture, ClicksOtherButtonsAndDragsFromOutsideChangeNothing)
{
    const QCPRange x = t.plot->xAxis->range();
    const QPoint p = area().topLeft() + QPoint(100, 100);
    drag(t.plot.get(), p, p + QPoint(2, 2));                           // a click with a tremble
    drag(t.plot.get(), p, p + QPoint(200, 1));                         // no height to zoom to
    drag(t.plot.get(), p, p + QPoint(200, 100), Qt::RightButton);      // the popup menu's button
    drag(t.plot.get(), QPoint(area().left() - 5, 100), QPoint(area().left() + 200, 200));
    EXPECT_EQ(zooms + undos, 0);
    EXPECT_EQ(t.plot->xAxis->range(), x);
    EXPECT_FALSE(gesture.isZoomed());
}

TEST_F(ZoomFixture, RectangleOverhangingThePlottingAreaIsCutToIt)
{
    drag(t.plot.get(), area().topLeft() + QPoint(100, 50), area().bottomRight() + QPoint(50, 50));
    EXPECT_EQ(zooms, 1);
    EXPECT_NEAR(t.plot->xAxis->range().upper, 999.0, 1e-9);
    EXPECT_NEAR(t.plot->yAxis->range().lower,
                RoundedAxisEnds(101, 101 + 396).minimum, 1e-9);
}

}  // namespace
