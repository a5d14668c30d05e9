// Looking round the chart in the window: the wheel, the middle button and the keys go the
// rectangle zoom's way (the digital levels from the zoomed range, the secondary window's axis
// following), one step back at a time, and new data starts a new history.
#include "ChartMouse.h"
#include "WindowRig.h"

#include "chart/ViewRanges.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ZoomGesture.h"
#include "record/BoardWords.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

namespace {

const QString Drawn = QStringLiteral("ПОСТРОЕНИЕ ГРАФИКА");

// The ramp with line 1 switching at every sample and shown, and the secondary window open
// under it; shown, so that the chart is laid out at its size.
void showRampWithALine(WindowRig& w)
{
    w.window->show();
    showRamp(w, DigitalLineBits[0]);
    w.f().cbDgt1->setChecked(true);
    w.window->ShowChart(Origin::timRx);
    w.secondary.show();
}

void wheel(ChartView& c, QPointF at, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent e(at, c.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&c, &e);
}

AxisSpan spanOf(const QCPAxis* axis)
{
    return {axis->range().lower, axis->range().upper};
}

void expectSpan(const QCPAxis* axis, AxisSpan expected)
{
    EXPECT_NEAR(axis->range().lower, expected.lower, 1e-9 * std::max(1.0, std::fabs(expected.lower)));
    EXPECT_NEAR(axis->range().upper, expected.upper, 1e-9 * std::max(1.0, std::fabs(expected.upper)));
}

void expectSecondaryFollows(WindowRig& w)
{
    EXPECT_EQ(spanOf(w.secondary.chart()->xAxis), spanOf(w.chart().bottomAxis()));
}

}  // namespace

TEST(ChartNavigationWindow, TheWheelZoomsTimeAboutTheMouseAndWithCtrlTheSignalAxis)
{
    WindowRig w;
    showRampWithALine(w);
    ChartView& c = w.chart();
    const AxisSpan x = spanOf(c.bottomAxis());
    const AxisSpan y = spanOf(c.leftAxis());
    w.window->statusPanel(0)->setText(QStringLiteral("ждём"));

    // One notch away from the user over X = 1000: 1000 stays under the mouse, the window is
    // a fifth narrower... the zoom event redraws the lines from the zoomed range.
    wheel(c, QPointF(pixelFor(c.bottomAxis(), 1000.0), c.height() / 2.0), 120);
    expectSpan(c.bottomAxis(), {1000 - (1000 - x.lower) / 1.25, 1000 + (x.upper - 1000) / 1.25});
    expectSpan(c.leftAxis(), y);
    EXPECT_TRUE(w.window->chartState().ChartZoomed);
    EXPECT_EQ(w.status0(), Drawn);
    EXPECT_DOUBLE_EQ(w.window->chartState().DigitalCentre, (y.lower + y.upper) / 2);
    expectSecondaryFollows(w);

    // Ctrl and a notch toward the user at the height of 3000: the left axis widens about it.
    const AxisSpan zoomedX = spanOf(c.bottomAxis());
    wheel(c, QPointF(c.width() / 2.0, c.leftAxis()->coordToPixel(3000.0)), -120, Qt::ControlModifier);
    const double at = c.leftAxis()->pixelToCoord(c.leftAxis()->coordToPixel(3000.0));
    expectSpan(c.leftAxis(), {at - (at - y.lower) * 1.25, at + (y.upper - at) * 1.25});
    expectSpan(c.bottomAxis(), zoomedX);
    const AxisLimits left = axisLimits(c.leftAxis());
    EXPECT_DOUBLE_EQ(w.window->chartState().DigitalCentre, (left.minimum + left.maximum) / 2);
}

TEST(ChartNavigationWindow, TheMiddleButtonDragsTheViewAsOneStep)
{
    WindowRig w;
    showRampWithALine(w);
    ChartView& c = w.chart();
    const AxisSpan x = spanOf(c.bottomAxis());
    const AxisSpan y = spanOf(c.leftAxis());
    const QRect area = c.axisRect()->rect();
    const QPoint from = area.center();

    // 80 pixels right and 40 down: what was under the mouse stays under it.
    sendMouse(&c, QEvent::MouseButtonPress, from, Qt::MiddleButton);
    sendMouse(&c, QEvent::MouseMove, from + QPoint(30, 10), Qt::MiddleButton);
    sendMouse(&c, QEvent::MouseMove, from + QPoint(80, 40), Qt::MiddleButton);
    sendMouse(&c, QEvent::MouseButtonRelease, from + QPoint(80, 40), Qt::MiddleButton);
    const double dx = 80.0 * x.width() / area.width();
    const double dy = 40.0 * y.width() / area.height();
    expectSpan(c.bottomAxis(), {x.lower - dx, x.upper - dx});
    expectSpan(c.leftAxis(), {y.lower + dy, y.upper + dy});
    EXPECT_TRUE(w.window->chartState().ChartZoomed);
    EXPECT_FALSE(c.zoomGesture()->history().isEmpty());
    expectSecondaryFollows(w);

    // The whole drag is one step.
    EXPECT_TRUE(c.zoomGesture()->stepBack());
    EXPECT_FALSE(c.zoomGesture()->isZoomed());
    EXPECT_FALSE(w.window->chartState().ChartZoomed);
    EXPECT_EQ(spanOf(c.bottomAxis()), x);
    EXPECT_TRUE(c.zoomGesture()->history().isEmpty());
}

TEST(ChartNavigationWindow, AClickGivesTheKeysThatMoveZoomUndoAndStepBack)
{
    WindowRig w;
    showRampWithALine(w);
    w.window->show();
    QApplication::setActiveWindow(w.window.get());
    w.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
    ChartView& c = w.chart();
    const AxisSpan whole = spanOf(c.bottomAxis());
    const QPoint middle = c.axisRect()->rect().center();

    // A click, not a drag: the focus, and no zoom.
    QTest::mouseClick(&c, Qt::LeftButton, {}, middle);
    ASSERT_TRUE(c.hasFocus());
    EXPECT_FALSE(c.zoomGesture()->isZoomed());

    QTest::keyClick(&c, Qt::Key_Right);
    const AxisSpan right = ShiftedBy(whole, 0.1);
    expectSpan(c.bottomAxis(), right);
    EXPECT_TRUE(w.window->chartState().ChartZoomed);
    expectSecondaryFollows(w);

    QTest::keyClick(&c, Qt::Key_Plus);
    const double centre = right.lower + right.width() / 2;
    const AxisSpan plus{centre - right.width() / 2 / 1.25, centre + right.width() / 2 / 1.25};
    expectSpan(c.bottomAxis(), plus);
    QTest::keyClick(&c, Qt::Key_Minus);
    expectSpan(c.bottomAxis(), right);

    // Home is the undo: automatic axes, the levels of the whole signal, the secondary window's
    // axis fitted to its own traces again.
    QTest::keyClick(&c, Qt::Key_Home);
    EXPECT_FALSE(c.zoomGesture()->isZoomed());
    EXPECT_FALSE(w.window->chartState().ChartZoomed);
    EXPECT_EQ(spanOf(c.bottomAxis()), whole);
    EXPECT_DOUBLE_EQ(w.window->chartState().DigitalCentre, 1999.5);

    // Backspace walks back: before Home, before −, before +, before →.
    QTest::keyClick(&c, Qt::Key_Backspace);
    expectSpan(c.bottomAxis(), right);
    EXPECT_TRUE(w.window->chartState().ChartZoomed);
    QTest::keyClick(&c, Qt::Key_Backspace);
    expectSpan(c.bottomAxis(), plus);
    QTest::keyClick(&c, Qt::Key_Backspace);
    expectSpan(c.bottomAxis(), right);
    QTest::keyClick(&c, Qt::Key_Backspace);
    EXPECT_EQ(spanOf(c.bottomAxis()), whole);
    EXPECT_FALSE(w.window->chartState().ChartZoomed);
    EXPECT_TRUE(c.zoomGesture()->history().isEmpty());
}

TEST(ChartNavigationWindow, ARunOfNotchesIsOneStepAndNewDataForgetsTheHistory)
{
    WindowRig w;
    showRampWithALine(w);
    ChartView& c = w.chart();
    const AxisSpan whole = spanOf(c.bottomAxis());
    const QPointF at(c.width() / 2.0, c.height() / 2.0);
    for (int i = 0; i < 3; ++i)
        wheel(c, at, 120);
    EXPECT_LT(spanOf(c.bottomAxis()).width(), whole.width() / 1.9);

    // The pop-up menu's item goes back over the whole run at once.
    emit w.window->pmChart()->aboutToShow();
    ASSERT_TRUE(w.window->previousZoomItem()->isEnabled());
    w.window->previousZoomItem()->trigger();
    EXPECT_EQ(spanOf(c.bottomAxis()), whole);

    wheel(c, at, 120);
    // A measurement received: the reception resets the chart's flags, then draws.
    emit w.acq().chartFlagsReset();
    w.window->ShowChart(Origin::timRx);
    EXPECT_TRUE(c.zoomGesture()->history().isEmpty());
    emit w.window->pmChart()->aboutToShow();
    EXPECT_FALSE(w.window->previousZoomItem()->isEnabled());
}
