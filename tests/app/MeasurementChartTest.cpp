// A 1 MHz measurement on the simulated board, from the start to the drawn chart.
#include "WindowRig.h"

#include "device/ModeStarts.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// Runs the event loop until the acquisition asks for the chart (and the window has drawn it);
// false when the board never delivers.
bool runUntilDrawn(WindowRig& w)
{
    QEventLoop loop;
    bool drawn = false;
    QObject::connect(&w.acq(), &Acquisition::drawChart, &loop, [&] {
        drawn = true;
        loop.quit();
    }, Qt::QueuedConnection);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return drawn;
}

}  // namespace

TEST(MeasurementChart, OneMegahertzRunEndsWithTheSignalOnTheChart)
{
    WindowRig w;
    w.f().cbDgt1->setChecked(true);
    w.f().cbDgt3->setChecked(true);
    w.f().eYTitle->setText(QStringLiteral("Напряжение, ед."));
    w.window->show();
    w.acq().applyStart(Start1MHz(0));
    w.acq().BeginAcquisition();
    ASSERT_TRUE(runUntilDrawn(w));

    const ChartView& c = w.chart();
    ASSERT_EQ(w.points(c.Series1()), 30000);
    EXPECT_EQ(w.points(c.SeriDgt1()), 30000);
    EXPECT_EQ(w.points(c.SeriDgt2()), 0);
    EXPECT_EQ(w.status0(), QStringLiteral("ПОСТРОЕНИЕ ГРАФИКА"));
    EXPECT_TRUE(w.f().Panel1->isHidden());
    EXPECT_TRUE(w.f().btOptions->isEnabled());
    EXPECT_EQ(c.leftAxis()->label(), QStringLiteral("Напряжение, ед."));
    EXPECT_EQ(c.bottomAxis()->label(), QStringLiteral("Время, мкс"));
    EXPECT_NEAR(w.x(c.Series1(), 29999), 28482.12, 0.01);
    EXPECT_EQ(w.acq().PendingCommand(), QByteArray(1, '\0'));

    // The simulator's signal is a sine: it spans a good part of the ADC range.
    double low = 4096, high = -4096;
    for (int i = 0; i < 30000; ++i) {
        low = std::min(low, w.y(c.Series1(), i));
        high = std::max(high, w.y(c.Series1(), i));
    }
    EXPECT_GT(high - low, 500.0);
    EXPECT_DOUBLE_EQ(w.window->chartState().DigitalCentre, low + (high - low) / 2);

    // The same data in ADC units over sample numbers.
    choose(w.f().cbShowK, 1);
    EXPECT_EQ(c.leftAxis()->label(), QStringLiteral("единицы АЦП"));
    EXPECT_DOUBLE_EQ(w.x(c.Series1(), 29999), 29999.0);

    // Set KORVEL_CHART_PNG to look at the drawn chart.
    const QString png = qEnvironmentVariable("KORVEL_CHART_PNG");
    if (!png.isEmpty()) {
        choose(w.f().cbShowK, 0);
        w.window->grab().save(png, "PNG");
    }
}
