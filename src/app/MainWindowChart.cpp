// ShowChart: the series of the main chart (and of the secondary window in the real-time mode)
// from the data of the current mode. The points come from the series builder; this file only
// reads the controls, hands them over and puts the result on the charts.
#include "app/MainWindow.h"

#include "chart/Scaling.h"
#include "chart/SeriesBuilder.h"
#include "chartview/ChartFill.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "chartview/ZoomGesture.h"
#include "device/Acquisition.h"
#include "record/BoardWords.h"
#include "text/Messages.h"
#include "text/NumberFormat.h"
#include "ui_MainWindow.h"

#include <QLabel>
#include <algorithm>

namespace korvel {

namespace {

ChartGraphs graphsOf(const ChartView* c)
{
    return {c->Series1(), c->SeriDgt3(), c->SeriDgt1(), c->SeriDgt2(), c->Series2(),
            c->SeriTermo()};
}

void setAxisTitles(ChartView* c, const AxisTitles& titles)
{
    c->leftAxis()->setLabel(titles.left);
    c->bottomAxis()->setLabel(titles.bottom);
}

}  // namespace

void MainWindow::CalcScales()
{
    const XUnit unit = korvel::CalcScales(ui->cbXscale->currentIndex(), chart.XUnitFactor);
    chart.XUnitFactor = unit.XUnitFactor;
    chart.XUnitName = unit.XUnitName;
}

ScaleInputs MainWindow::scaleInputsOfControls() const
{
    const Ui::MainWindow& f = *ui;
    ScaleInputs in;
    in.rangeIndex = f.cbRgm->currentIndex();
    in.calibration = scaling.calibration;
    in.extScaleIndex = f.cbExtScale->currentIndex();
    in.emExtScale = f.emExtScale->text();
    in.extShiftIndex = f.cbExtShift->currentIndex();
    in.emExtShift = f.emExtShift->text();
    in.displayMode = f.cbShowK->currentIndex();
    in.eYTitle = f.eYTitle->text();
    in.XUnitName = chart.XUnitName;
    in.previous = {scaling.ScaleK, scaling.ScaleShift};
    return in;
}

void MainWindow::GetScaleParams()
{
    Ui::MainWindow& f = *ui;
    const ScaleInputs in = scaleInputsOfControls();
    // The range is in force even when the user's own factor or shift does not convert.
    f.pRgm->setText(RangeCaption(RangeInForce(in)));
    const ScaleParams p = korvel::GetScaleParams(in);
    scaling.ScaleK = p.coefficients.ScaleK;
    scaling.ScaleShift = p.coefficients.ScaleShift;
    setAxisTitles(f.Chart1, p.titles);
}

bool MainWindow::chartHasPoints() const
{
    // A redraw cut short by a text that does not convert emptied the series, yet its data is
    // still there to be drawn once the text is corrected.
    return lastVisibleIndex(ui->Chart1->Series1()) >= 0 || chart.plotInterrupted;
}

void MainWindow::ShowChart(ChartOrigin Origin)
{
    Ui::MainWindow& f = *ui;
    Acquisition& a = acquisition();
    ChartView* c = f.Chart1;
    chart.plotInterrupted = false;
    try {
        // Preamble.
        const int N = f.seInt->clamped(f.seInt->value());
        f.Panel1->hide();
        f.lbPercent->clear();
        f.lbRestPercent->clear();
        const bool realTime = a.recording().isRealTime();
        if (!realTime) {
            for (QCPGraph* g : c->allSeries())
                clearGraph(g);
        }
        CalcScales();
        data.AxisXName = MicrosecondsAxisName();
        if (scaling.CoefficientsFromFile) {
            f.pLdFile->show();
            setAxisTitles(c, AxisTitlesFor(f.cbShowK->currentIndex(), data.AxisYName,
                                           chart.XUnitName));
            CheckScaledValuesFinite({scaling.ScaleK, scaling.ScaleShift});
        } else {
            f.pLdFile->hide();
            GetScaleParams();
        }

        if (realTime) {
            showRealTimePlot(Origin);
            return;
        }

        DisplayOptions o;
        o.displayMode = f.cbShowK->currentIndex();
        o.XUnitFactor = chart.XUnitFactor;
        o.cbInt = f.cbInt->isChecked();
        o.seInt = N;
        o.cbDgt = {f.cbDgt1->isChecked(), f.cbDgt2->isChecked(), f.cbDgt3->isChecked()};
        o.cbTermo = f.cbTermo->isChecked();
        o.cbY = f.cbY->isChecked();

        ZoomState zoom;
        zoom.ChartZoomed = chart.ChartZoomed;
        const AxisLimits left = axisLimits(c->leftAxis());
        const AxisLimits bottom = axisLimits(c->bottomAxis());
        zoom.leftMin = left.minimum;
        zoom.leftMax = left.maximum;
        zoom.bottomMin = bottom.minimum;
        zoom.bottomMax = bottom.maximum;
        zoom.PrevXUnitFactor = chart.PrevXUnitFactor;

        const ChartPlot plot =
            BuildChartPlot(a.recording(), o, {scaling.ScaleK, scaling.ScaleShift}, zoom);
        if (plot.XStep)
            chart.XStep = *plot.XStep;
        chart.ReadoutStep = plot.readoutStep;
        if (plot.digital) {
            chart.DigitalCentre = plot.digital->levels.DigitalCentre;
            chart.PrevXUnitFactor = plot.digital->PrevXUnitFactor;
        }
        if (plot.AccelerometerMode)
            AccelerometerMode = true;
        // Series1 wears Series2's colour only while it shows the Y channel alone.
        c->setSeriesColor(c->Series1(), plot.series1TakesSeries2Colour
                                            ? c->seriesColor(c->Series2())
                                            : QColor(Qt::black));
        applyChartPlot(c, graphsOf(c), plot, chart.ChartZoomed);
        if (!chart.ChartZoomed)
            c->zoomGesture()->axesFitted();

        // Finish.
        a.ShowChartFinished();
        statusPanel(0)->setText(QStringLiteral("ПОСТРОЕНИЕ ГРАФИКА"));
        f.btOptions->setEnabled(true);
        statusPanel(2)->clear();
    } catch (const ConversionError& e) {
        // The redraw ends here; what was cleared stays cleared and is shown so.
        chart.plotInterrupted = true;
        c->replot();
        messages().error(e.message());
    }
}

void MainWindow::showRealTimePlot(ChartOrigin Origin)
{
    Ui::MainWindow& f = *ui;
    Acquisition& a = acquisition();
    ChartView* c = f.Chart1;

    DisplayOptions o;
    o.displayMode = f.cbShowK->currentIndex();
    o.XUnitFactor = chart.XUnitFactor;
    o.cbDgt = {f.cbDgt1->isChecked(), f.cbDgt2->isChecked(), f.cbDgt3->isChecked()};
    o.cbTermo = f.cbTermo->isChecked();

    const RealTimePlot plot = BuildRealTimePlot(a.recording(), a.CurrentTemperature(), o,
                                                {scaling.ScaleK, scaling.ScaleShift},
                                                Origin == ChartOrigin::timRx);
    chart.XStep = plot.XStep;
    chart.ReadoutStep = plot.XStep;
    if (plot.RealTimeCount > a.recording().RealTimeCount)
        a.countRealTimePoint();
    if (plot.rebuild) {
        fillGraph(c->Series1(), plot.Series1);
    } else {
        appendPoints(c->Series1(), plot.Series1);
        appendPoints(c->SeriTermo(), plot.SeriTermo);
    }
    // A zoom stays while points arrive, whether or not it redrew digital lines.
    if (!c->zoomGesture()->isZoomed())
        autoscaleAxes(c);
    c->replot();

    if (plot.showSecondary && secondary_)
        fillSecondaryWindow(plot);
}

void MainWindow::alignSecondaryWindow()
{
    const ChartView* c = ui->Chart1;
    // The main chart's axis lines in window coordinates, as laid out by the last replot.
    const VerticalAxisPixels axes = verticalAxisPixels(c);
    const int chartLeft = c->x();
    secondary_->alignWith(this, chartLeft + axes.left, chartLeft + axes.right,
                          c->bottomAxis()->label());
}

void MainWindow::followWithSecondaryWindow()
{
    // Shown, it belongs under this window: it goes where this window goes, as placed at the
    // start of the real-time mode.
    if (!secondary_ || !secondary_->isVisible())
        return;
    secondary_->placeUnder(this);
    alignSecondaryWindow();
}

void MainWindow::fillSecondaryWindow(const RealTimePlot& plot)
{
    SecondaryChartWindow* w = secondary_;
    ChartView* c = ui->Chart1;
    w->show();
    alignSecondaryWindow();

    const std::array<QCPGraph*, 3> lines{w->SeriDgt1(), w->SeriDgt2(), w->SeriDgt3()};
    for (int line = 0; line < 3; ++line) {
        if (!plot.secondaryLine[line])
            continue;
        if (plot.rebuild)
            fillGraph(lines[line], plot.secondaryDgt[line]);
        else
            appendPoints(lines[line], plot.secondaryDgt[line]);
    }
    w->showTimeRange(c->bottomAxis()->range().lower, c->bottomAxis()->range().upper);
}

}  // namespace korvel
