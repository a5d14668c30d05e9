// The read-out in the window: the mouse over the chart mapped with the chart's own axis, the
// status-bar switch, the digital lines, and the step of accelerometer data.
#include "ChartMouse.h"
#include "WindowRig.h"

#include "chartview/ChartGeometry.h"
#include "device/Commands.h"
#include "text/NumberFormat.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

namespace {

QString panel(WindowRig& w, int i)
{
    return w.window->statusPanel(i)->text();
}

QByteArray ramp(int n, int first, int step, quint16 bits = 0)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += Words({static_cast<quint16>(((first + step * i) & 0x0FFF) | bits)});
    return out;
}

}  // namespace

TEST(ReadoutWindow, SampleNumbersRoundHalfToEvenAndStopAtTheVisiblePoints)
{
    WindowRig w;
    w.window->show();
    w.setData(ramp(20, 100, 7));
    choose(w.f().cbShowK, 1);  // ADC units over sample numbers
    w.window->ShowChart(Origin::timRx);
    ASSERT_EQ(w.points(w.chart().Series1()), 20);
    EXPECT_TRUE(w.chart().hasMouseTracking());

    // Off: moving over the chart leaves the panels alone.
    w.window->statusPanel(1)->setText(QStringLiteral("прежнее"));
    hoverAt(w.chart(), 10.4);
    EXPECT_EQ(panel(w, 1), QStringLiteral("прежнее"));

    w.clickInWindow(w.window->statusPanel(1));
    ASSERT_TRUE(w.window->chartState().ReadoutOn);

    hoverAt(w.chart(), 10.4);
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=10,00, Y=170,00"));
    hoverAt(w.chart(), 3.0);
    hoverAt(w.chart(), 10.5);  // the tie goes to the even 10
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=10,00, Y=170,00"));
    hoverAt(w.chart(), 11.5);  // and here to the even 12
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=12,00, Y=184,00"));
    EXPECT_EQ(panel(w, 2), QStringLiteral("Цифровые сигналы: x x x "));

    // Left of the first point and right of the last visible one: the texts stay.
    hoverAt(w.chart(), -0.6);
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=12,00, Y=184,00"));
    hoverAt(w.chart(), 19.4);
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=19,00, Y=233,00"));
    setAxisLimits(w.chart().bottomAxis(), 0.0, 15.0);
    w.chart().replot();
    hoverAt(w.chart(), 16.0);
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=19,00, Y=233,00"));

    // New data of the same length: the read-out reads the new points, not the old ones.
    w.setData(ramp(20, 1000, 7));
    w.window->ShowChart(Origin::timRx);
    hoverAt(w.chart(), 10.4);
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=10,00, Y=1070,00"));
}

TEST(ReadoutWindow, TimeAxisShowsTheIndexTimesTheStepAndNothingBelowOne)
{
    WindowRig w;
    w.window->show();
    w.setData(ramp(30000, 0, 1), static_cast<double>(14.0L / 14.7456L));  // 1 MHz run
    w.window->ShowChart(Origin::timRx);
    ASSERT_NEAR(w.window->chartState().XStep, 0.949436, 1e-6);
    w.clickInWindow(w.window->statusPanel(0));
    ASSERT_TRUE(w.window->chartState().ReadoutOn);

    hoverAt(w.chart(), 100.0);  // 100 / 0.949436 = 105.33
    EXPECT_EQ(panel(w, 1),
              QStringLiteral("X=99,69, Y=") + Format(u"%f", {w.y(w.chart().Series1(), 105)}));

    // In seconds the whole run ends below 1.0 on the axis: no read-out at all.
    choose(w.f().cbXscale, 2);
    ASSERT_LT(axisLimits(w.chart().bottomAxis()).maximum, 1.0);
    w.window->statusPanel(1)->setText(QStringLiteral("прежнее"));
    hoverAt(w.chart(), 0.0001);
    EXPECT_EQ(panel(w, 1), QStringLiteral("прежнее"));
}

TEST(ReadoutWindow, DigitalLinesReadHighLowOrUnshown)
{
    WindowRig w;
    w.window->show();
    QByteArray data = ramp(5, 1000, 0);                    // all lines low
    data += ramp(5, 3000, 0, 0x2000 | 0x4000 | 0x8000);     // all lines high
    w.setData(data);
    choose(w.f().cbShowK, 1);
    w.window->ShowChart(Origin::timRx);
    w.f().cbDgt1->click();
    w.f().cbDgt3->click();
    ASSERT_EQ(w.points(w.chart().SeriDgt3()), 10);
    w.clickInWindow(w.window->statusPanel(2));

    hoverAt(w.chart(), 7.0);
    EXPECT_EQ(panel(w, 2), QStringLiteral("Цифровые сигналы: H x H "));
    hoverAt(w.chart(), 2.0);
    EXPECT_EQ(panel(w, 2), QStringLiteral("Цифровые сигналы: L x L "));
}

TEST(ReadoutWindow, AccelerometerDataReadsAtItsOwnPeriodAndItsLinesAsUnknown)
{
    WindowRig w;
    w.window->show();
    w.acq().loadRecording({.SampleBuffer = ramp(10, 500, 10),
                           .ModeCommand = QByteArray("\x1A\x00\x01", 3),  // one channel
                           .SamplePeriod = 1.0});  // and the typical period 0.0007 s
    w.f().cbDgt1->setChecked(true);
    w.window->ShowChart(Origin::btLoadFile);
    ASSERT_EQ(w.points(w.chart().Series1()), 10);
    ASSERT_DOUBLE_EQ(w.x(w.chart().Series1(), 2), 1400.0);  // µs
    w.clickInWindow(w.window->statusPanel(1));

    hoverAt(w.chart(), 1450.0);
    EXPECT_EQ(panel(w, 1),
              QStringLiteral("X=1400,00, Y=") + Format(u"%f", {w.y(w.chart().Series1(), 2)}));
    EXPECT_EQ(panel(w, 2), QStringLiteral("Цифровые сигналы: x x x "));
}

TEST(ReadoutWindow, StatusClickSwitchesTheReadoutExceptInTheRealTimeMode)
{
    WindowRig w;
    w.window->show();
    w.window->statusPanel(1)->setText(QStringLiteral("X=1,00, Y=2,00"));
    w.window->statusPanel(2)->setText(QStringLiteral("Цифровые сигналы: x x x "));

    w.clickInWindow(w.f().status, {w.window->width() - 2, 0});  // the bar beside the panels
    EXPECT_TRUE(w.window->chartState().ReadoutOn);
    EXPECT_EQ(panel(w, 1), QStringLiteral("X=1,00, Y=2,00"));

    w.clickInWindow(w.window->statusPanel(2));
    EXPECT_FALSE(w.window->chartState().ReadoutOn);
    EXPECT_EQ(panel(w, 1), QStringLiteral("Щелкните для отображения X,Y"));
    EXPECT_EQ(panel(w, 2), QString());

    for (const QByteArray& command : {cmd::cmdSample(), cmd::cmdSampleTemp()}) {
        w.acq().loadRecording({.ModeCommand = command});
        for (int click = 0; click < 2; ++click) {
            w.window->statusPanel(1)->setText(QStringLiteral("X=1,00, Y=2,00"));
            w.clickInWindow(w.window->statusPanel(1));
            EXPECT_FALSE(w.window->chartState().ReadoutOn);
            EXPECT_EQ(panel(w, 1), QString());
            EXPECT_EQ(panel(w, 2), QString());
        }
    }
}
