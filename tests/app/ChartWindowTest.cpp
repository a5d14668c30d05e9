// The chart in the window: the lock panel over file coefficients, the display modes, a text
// that does not convert, which handlers redraw, the real-time plot and its secondary window.
#include "OpenDataFile.h"
#include "WindowRig.h"

#include "chartview/ChartGeometry.h"
#include "device/Commands.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

TEST(ChartWindow, FileCoefficientsAreLockedUntilThePanelIsClicked)
{
    WindowRig w;
    RecordToSave file{
        .record = {.SampleBuffer = Words({100, 200}), .BlockCount = 0, .SamplePeriod = 1.0}};
    file.in.ScaleK = 0.5;
    file.in.ScaleShift = 100;
    file.in.eYTitle = QStringLiteral("Давление, кПа");
    w.f().eYTitle->setText(QStringLiteral("Напряжение"));

    openDataFile(*w.window, w.dir.filePath(QStringLiteral("p.dtw")), file);
    EXPECT_FALSE(w.f().pLdFile->isHidden());
    EXPECT_EQ(w.chart().leftAxis()->label(), QStringLiteral("Давление, кПа"));
    EXPECT_EQ(w.chart().bottomAxis()->label(), QStringLiteral("Время, мкс"));
    ASSERT_EQ(w.points(w.chart().Series1()), 2);
    EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 1), 50.0);  // the file's (200 - 100) * 0.5

    // A click on the red label releases the lock; nothing is redrawn until the next plot.
    w.window->show();
    w.f().btOptions->click();
    ASSERT_TRUE(w.f().lbScales2->isVisible());
    w.clickInWindow(w.f().lbScales2);
    EXPECT_TRUE(w.f().pLdFile->isHidden());
    EXPECT_FALSE(w.window->scaleState().CoefficientsFromFile);
    EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 1), 50.0);

    w.window->ShowChart(Origin::cbShowK);
    EXPECT_EQ(w.window->scaleState().ScaleK, 1.0);  // range "±2,5В" with the default calibration
    EXPECT_EQ(w.window->scaleState().ScaleShift, 0);
    EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 1), 200.0);
    EXPECT_EQ(w.chart().leftAxis()->label(), QStringLiteral("Напряжение"));
}

TEST(ChartWindow, AdcUnitModesDisableTheCoefficientsAndTitleTheAxis)
{
    WindowRig w;
    w.setData(Words({1000, 3000}));
    w.f().eYTitle->setText(QStringLiteral("Напряжение"));
    choose(w.f().cbRgm, 0);  // "0...-2В": ScaleK -1
    w.window->ShowChart(Origin::timRx);
    EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 0), -1000.0);

    for (int mode : {1, 3}) {
        SCOPED_TRACE(mode);
        choose(w.f().cbShowK, mode);
        for (QWidget* c : std::initializer_list<QWidget*>{w.f().cbRgm, w.f().cbExtShift,
                                                          w.f().cbExtScale, w.f().eYTitle,
                                                          w.f().emExtShift, w.f().emExtScale})
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        EXPECT_EQ(w.chart().leftAxis()->label(), QStringLiteral("единицы АЦП"));
        EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 0), 1000.0);
    }

    // Back to values: the lists come back, an edit whose list stands at item 0 stays off.
    choose(w.f().cbShowK, 2);
    EXPECT_TRUE(w.f().cbRgm->isEnabled());
    EXPECT_TRUE(w.f().eYTitle->isEnabled());
    EXPECT_FALSE(w.f().emExtShift->isEnabled());
    EXPECT_EQ(w.chart().leftAxis()->label(), QStringLiteral("Напряжение"));
    EXPECT_EQ(w.chart().bottomAxis()->label(), QStringLiteral("Выборки"));
    EXPECT_DOUBLE_EQ(w.window->chartState().XStep, 1.0);
}

TEST(ChartWindow, ACoefficientThatDoesNotConvertEndsTheRedrawUntilItIsFixed)
{
    WindowRig w;
    w.setData(Words({10, 20, 30}));
    w.window->ShowChart(Origin::timRx);
    ASSERT_EQ(w.points(w.chart().Series1()), 3);
    w.window->statusPanel(0)->setText(QStringLiteral("ждём"));

    w.f().emExtScale->setText(QStringLiteral("1,,5"));
    choose(w.f().cbExtScale, 1);
    EXPECT_TRUE(w.f().emExtScale->isEnabled());
    ASSERT_EQ(w.messages.said.size(), 1);
    EXPECT_EQ(w.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_TRUE(w.messages.said[0].text.contains(QStringLiteral("1,,5")));
    for (QCPGraph* g : w.chart().allSeries())
        EXPECT_EQ(w.points(g), 0) << g->name().toStdString();
    EXPECT_EQ(w.status0(), QStringLiteral("ждём"));

    // Another range while the text is still wrong: its caption shows, the redraw stops again.
    choose(w.f().cbRgm, 0);
    EXPECT_EQ(w.f().pRgm->text(), QStringLiteral("Kацп=-1,00; СДВИГ=0 (ini-файл)"));
    EXPECT_EQ(w.messages.said.size(), 2);

    // Corrected, the next change of a control draws the data in memory again.
    w.f().emExtScale->setText(QStringLiteral("2,5"));
    choose(w.f().cbXscale, 1);
    EXPECT_EQ(w.messages.said.size(), 2);
    ASSERT_EQ(w.points(w.chart().Series1()), 3);
    EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 2), 75.0);
    EXPECT_EQ(w.status0(), QStringLiteral("ПОСТРОЕНИЕ ГРАФИКА"));
}

TEST(ChartWindow, TheTransferOfTheNextArrayShowsAnEmptyChart)
{
    WindowRig w;
    w.window->show();
    QByteArray ramp;
    for (int i = 0; i < 400; ++i)
        ramp += Words({static_cast<quint16>(10 * i)});
    w.setData(ramp);
    w.window->ShowChart(Origin::timRx);
    // Dark pixels inside the plotting area clear of the axes' ticks: the signal's curve.
    const auto curvePixels = [&w] {
        // The chart as last painted, without the progress panel laid over it.
        QImage shown(w.chart().size(), QImage::Format_RGB32);
        w.chart().render(&shown, {}, {}, QWidget::DrawWindowBackground);
        const QRect inside = w.chart().axisRect()->rect().adjusted(8, 8, -8, -8);
        int n = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                n += qGray(shown.pixel(x, y)) < 100;
        return n;
    };
    ASSERT_GT(curvePixels(), 100);

    emit w.acq().transferStarted(0);
    EXPECT_EQ(curvePixels(), 0);
}

TEST(ChartWindow, ListsAndCheckBoxesRedrawOnlyAChartThatHasPoints)
{
    WindowRig w;
    w.setData(Words({5, 6}));
    w.window->statusPanel(0)->setText(QStringLiteral("ждём"));
    choose(w.f().cbTLevel2, 1);
    w.f().cbDgt1->click();
    w.f().cbInt->click();
    EXPECT_EQ(w.points(w.chart().Series1()), 0);
    EXPECT_EQ(w.status0(), QStringLiteral("ждём"));

    w.window->ShowChart(Origin::timRx);
    ASSERT_EQ(w.points(w.chart().SeriDgt1()), 2);
    w.f().cbDgt1->click();  // unchecked: the line goes away at once
    EXPECT_EQ(w.points(w.chart().SeriDgt1()), 0);
    choose(w.f().cbACondition1, 2);
    EXPECT_EQ(w.points(w.chart().Series1()), 2);
}

TEST(ChartWindow, AZoomedTimeWindowSurvivesAChangeOfUnit)
{
    WindowRig w;
    QByteArray buffer;
    for (int i = 0; i < 4000; ++i)
        buffer += Words({static_cast<quint16>(i % 4096)});
    w.setData(buffer, 1.0);
    w.window->ShowChart(Origin::timRx);
    EXPECT_EQ(w.window->chartState().PrevXUnitFactor, 1);

    // The zoom gesture's end on this range; with a digital line shown the chart is redrawn zoomed.
    setAxisLimits(w.chart().bottomAxis(), 1000.0, 2000.0);
    w.f().cbDgt1->setChecked(true);
    w.window->Chart1Zoom();
    choose(w.f().cbXscale, 1);
    const AxisLimits bottom = axisLimits(w.chart().bottomAxis());
    EXPECT_DOUBLE_EQ(bottom.minimum, 1.0);
    EXPECT_DOUBLE_EQ(bottom.maximum, 2.0);
    EXPECT_EQ(w.window->chartState().PrevXUnitFactor, 1000);
    EXPECT_DOUBLE_EQ(w.window->chartState().XStep, 0.001);
    EXPECT_EQ(w.chart().bottomAxis()->label(), QStringLiteral("Время, мс"));
}

TEST(ChartWindow, TemperatureDataFillsTheRealTimeTables)
{
    WindowRig w;
    // A real-time recording with its temperature: the words 0x2005, 0x0006, 90, 0xFFD7.
    const std::vector<quint16> signal{0x2005, 0x0006};
    const std::vector<qint16> temperature{90, -41};
    openDataFile(*w.window, w.dir.filePath(QStringLiteral("t.dtw")),
                 recordingWithTemperature(signal, temperature));
    ASSERT_EQ(w.points(w.chart().SeriTermo()), 2);
    EXPECT_DOUBLE_EQ(w.y(w.chart().SeriTermo(), 0), 22.5);
    EXPECT_DOUBLE_EQ(w.y(w.chart().SeriTermo(), 1), -10.25);
    EXPECT_EQ(w.acq().recording().RealTimeSignal[0], 0x2005);
    EXPECT_EQ(w.acq().recording().RealTimeTemperature[1], -41);
}

namespace {

// Real-time replies as the receiver stores them, none drawn yet.
void storeRealTime(WindowRig& w, std::initializer_list<quint16> words)
{
    w.acq().loadRecording(
        {.ModeCommand = cmd::cmdSample(), .SamplePeriod = 1000000.0, .RealTimeSignal = words});
}

}  // namespace

TEST(ChartWindow, RealTimeRebuildDoesNotDoubleTheSecondaryTraces)
{
    WindowRig w;
    w.window->show();
    w.window->move(30, 40);
    choose(w.f().cbXscale, 2);
    storeRealTime(w, {0x2001, 0x0002, 0x2003});
    w.f().cbDgt1->setChecked(true);
    for (int i = 0; i < 3; ++i)
        w.window->ShowChart(Origin::timRx);  // the draw counts each point
    EXPECT_EQ(w.acq().recording().RealTimeCount, 3);
    ASSERT_EQ(w.points(w.chart().Series1()), 3);
    EXPECT_DOUBLE_EQ(w.x(w.chart().Series1(), 2), 2.0);  // seconds
    EXPECT_EQ(w.points(w.chart().SeriDgt1()), 0);        // the main digital series stay empty
    ASSERT_TRUE(w.secondary.isVisible());
    ASSERT_EQ(w.points(w.secondary.SeriDgt1()), 3);
    EXPECT_EQ(w.y(w.secondary.SeriDgt1(), 0), 5.0);
    EXPECT_EQ(w.y(w.secondary.SeriDgt1(), 1), 4.0);

    w.f().cbDgt2->click();
    EXPECT_EQ(w.acq().recording().RealTimeCount, 3);
    EXPECT_EQ(w.points(w.chart().Series1()), 3);
    EXPECT_EQ(w.points(w.secondary.SeriDgt1()), 3);
    EXPECT_EQ(w.points(w.secondary.SeriDgt2()), 3);
    EXPECT_EQ(w.y(w.secondary.SeriDgt2(), 0), 2.0);

    // Lined up under the main window: same left edge and width, axis lines over each other.
    EXPECT_EQ(w.secondary.x(), w.window->x());
    EXPECT_EQ(w.secondary.width(), w.window->width());
    const VerticalAxisPixels main = verticalAxisPixels(&w.chart());
    const VerticalAxisPixels own = verticalAxisPixels(w.secondary.chart());
    EXPECT_EQ(w.secondary.chart()->x() + own.left, w.chart().x() + main.left);
    EXPECT_EQ(w.secondary.chart()->x() + own.right, w.chart().x() + main.right);
    EXPECT_EQ(w.secondary.sbTransparency()->x(),
              w.secondary.chart()->x() + w.secondary.chart()->width());
    EXPECT_EQ(w.secondary.chart()->xAxis->label(), QStringLiteral("Время, с"));
}

TEST(ChartWindow, RealTimeWithoutDigitalLinesNeverShowsTheSecondaryWindow)
{
    WindowRig w;
    storeRealTime(w, {0x2001});
    w.window->ShowChart(Origin::timRx);
    EXPECT_EQ(w.points(w.chart().Series1()), 1);
    EXPECT_FALSE(w.secondary.isVisible());
}
