// What the user does with the drawn chart: zoom and undo, the read-out under the mouse and its
// switch on the status bar, the double click, the picture on the clipboard and the printout.
// The rules live in the chart layer (Readout, ZoomGesture, ChartPicture, ChartPrint); this
// file reads the window's state, asks them and shows the answer.
#include "app/MainWindow.h"

#include "app/EventHook.h"
#include "app/FileDialogs.h"
#include "chart/Readout.h"
#include "chart/SeriesBuilder.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ChartPicture.h"
#include "chartview/ChartPrint.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "chartview/ZoomGesture.h"
#include "device/Acquisition.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QLabel>
#include <QAction>
#include <QMouseEvent>
#include <QPrinter>
#include <QPrinterInfo>
#include <qcustomplot.h>

namespace korvel {

namespace {

QVector<double> valuesOf(const QCPGraph* g)
{
    QVector<double> y;
    const QSharedPointer<QCPGraphDataContainer> data = g->data();
    y.reserve(data->size());
    for (auto it = data->constBegin(); it != data->constEnd(); ++it)
        y.append(it->value);
    return y;
}

// A left click anywhere on the widget. The press is taken as well: labels ignore presses,
// and the release would then go to whichever parent took the press instead.
void onLeftClick(QWidget* w, std::function<void()> action)
{
    new EventHook(w, [action = std::move(action)](QEvent* e) {
        const QEvent::Type t = e->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease)
            return false;
        if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton)
            return false;
        if (t == QEvent::MouseButtonRelease)
            action();
        return true;
    });
}

}  // namespace

void MainWindow::wireInteraction()
{
    Ui::MainWindow& f = *ui;
    ChartView* c = f.Chart1;
    connect(c->zoomGesture(), &ZoomGesture::zoomed, this, [this] { Chart1Zoom(); });
    connect(c->zoomGesture(), &ZoomGesture::undoZoomed, this, [this] { Chart1UndoZoom(); });

    // The read-out follows the mouse without a button held.
    c->setMouseTracking(true);
    connect(c, &QCustomPlot::afterReplot, this, [this] { readoutLists = {}; });
    connect(c, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* e) { Chart1MouseMove(e->position().x()); });
    connect(c, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton)
            Chart1DblClick();
    });

    // The whole bar is the switch, the panels on it included.
    onLeftClick(f.status, [this] { statusClick(); });
    for (QLabel* panel : statusPanels_)
        onLeftClick(panel, [this] { statusClick(); });

    connect(f.btSaveChart, &QToolButton::clicked, this, [this] { btSaveChartClick(); });
    connect(N1_, &QAction::triggered, this, [this] { N1Click(); });
    connect(f.btPrint, &QToolButton::clicked, this, [this] { btPrintClick(); });
    CurrentPrinter = []() -> std::unique_ptr<QPrinter> {
        QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull() && !QPrinterInfo::availablePrinterNames().isEmpty())
            printer = QPrinterInfo::printerInfo(QPrinterInfo::availablePrinterNames().first());
        if (printer.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
    };
}

void MainWindow::Chart1Zoom()
{
    const Ui::MainWindow& f = *ui;
    const bool digitalShown =
        f.cbDgt1->isChecked() || f.cbDgt2->isChecked() || f.cbDgt3->isChecked();
    if (digitalShown && chartHasPoints()) {
        chart.ChartZoomed = true;
        ShowChart(ChartOrigin::Chart1);
    }
    if (secondary_ && secondary_->isVisible()) {
        const AxisLimits bottom = axisLimits(f.Chart1->bottomAxis());
        secondary_->showTimeRange(bottom.minimum, bottom.maximum);
    }
}

void MainWindow::Chart1UndoZoom()
{
    const Ui::MainWindow& f = *ui;
    const bool digitalShown =
        f.cbDgt1->isChecked() || f.cbDgt2->isChecked() || f.cbDgt3->isChecked();
    if (digitalShown && chartHasPoints()) {
        chart.ChartZoomed = false;
        ShowChart(ChartOrigin::Chart1);
    }
    if (secondary_ && secondary_->isVisible()) {
        QCustomPlot* s = secondary_->chart();
        // Fitted to the window's own traces; without any it keeps the range it has.
        s->xAxis->rescale(true);
        s->replot();
    }
}

void MainWindow::Chart1MouseMove(double pixelX)
{
    if (!chart.ReadoutOn)
        return;
    const ChartView* c = ui->Chart1;
    if (!readoutLists.valid) {
        readoutLists.Series1 = valuesOf(c->Series1());
        readoutLists.SeriDgt = {valuesOf(c->SeriDgt1()), valuesOf(c->SeriDgt2()),
                                valuesOf(c->SeriDgt3())};
        readoutLists.valid = true;
    }

    ReadoutInput in;
    in.ReadoutOn = chart.ReadoutOn;
    in.bottomAxisMax = axisLimits(c->bottomAxis()).maximum;
    in.mouseValue = valueAtPixelX(c->bottomAxis(), pixelX);
    // Every plot leaves the spacing of its own points behind (accelerometer points do not lie
    // at XStep).
    in.XStep = chart.ReadoutStep;
    in.lastVisibleIndex = lastVisibleIndex(c->Series1());
    in.series1Y = &readoutLists.Series1;
    in.cbDgt = {ui->cbDgt1->isChecked(), ui->cbDgt2->isChecked(), ui->cbDgt3->isChecked()};
    const std::array<QVector<double>, 3>& dgt = readoutLists.SeriDgt;
    in.dgtY = {&dgt[0], &dgt[1], &dgt[2]};
    in.DigitalCentre = chart.DigitalCentre;

    const std::optional<ReadoutTexts> t = Chart1MouseMoveReadout(in);
    if (!t)
        return;
    statusPanel(1)->setText(t->panel1);
    statusPanel(2)->setText(t->panel2);
}

void MainWindow::statusClick()
{
    const StatusClickResult r = korvel::statusClick(chart.ReadoutOn, acquisition().ModeCommand());
    chart.ReadoutOn = r.ReadoutOn;
    if (r.panel1)
        statusPanel(1)->setText(*r.panel1);
    if (r.panel2)
        statusPanel(2)->setText(*r.panel2);
}

void MainWindow::Chart1DblClick()
{
    // Only to the front: a window the user closed stays closed.
    if (secondary_ && secondary_->isVisible()) {
        secondary_->raise();
        secondary_->activateWindow();
    }
}

void MainWindow::btSaveChartClick()
{
    copyChartToClipboard(ui->Chart1);
}

void MainWindow::N1Click()
{
    btSaveChartClick();
}

std::unique_ptr<QPrinter> MainWindow::printerOrPdfFile()
{
    std::unique_ptr<QPrinter> printer = CurrentPrinter ? CurrentPrinter() : nullptr;
    if (!printer) {
        // No printer installed, as often on this platform: the same page goes into a PDF file.
        const QString file = dialogs().fileName(PdfDlg());
        if (file.isEmpty())
            return nullptr;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
    }
    return printer;
}

void MainWindow::btPrintClick()
{
    const std::unique_ptr<QPrinter> printer = printerOrPdfFile();
    if (!printer)
        return;
    const QString error = printChart(ui->Chart1, *printer);
    if (!error.isEmpty())
        messages().error(error);
}

}  // namespace korvel
