// Looking round the chart: the zoom history's step back, the measurement cursors A and B with
// their read-out, and the legend, from the chart's pop-up menu. The wheel, the middle button
// and the keys live with the chart (ChartNavigation) and reach the window through the zoom
// gesture's two signals, as the rectangle zoom does.
#include "app/MainWindow.h"

#include "chart/PlottedSignal.h"
#include "chart/Scaling.h"
#include "chartview/ChartLegend.h"
#include "chartview/ChartView.h"
#include "chartview/PlotCursors.h"
#include "chartview/ZoomGesture.h"
#include "device/Acquisition.h"
#include "spectrum/CursorReadout.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QSignalBlocker>

namespace korvel {

namespace {

QAction* switchItem(QMenu* menu, const QString& text)
{
    QAction* item = menu->addAction(text);
    item->setCheckable(true);
    return item;
}

// A switch's state pushed into its pop-up item, whose own signal stays quiet meanwhile.
void showChecked(QAction* item, bool on)
{
    const QSignalBlocker quiet(item);
    item->setChecked(on);
}

}  // namespace

void MainWindow::wireNavigation()
{
    ChartView* c = ui->Chart1;
    ZoomGesture* zoom = c->zoomGesture();
    PlotCursors* cursors = c->cursors();

    pmChart_->addSeparator();
    previousZoomItem_ = pmChart_->addAction(QStringLiteral("Предыдущий масштаб"));
    cursorsItem_ = switchItem(pmChart_, QStringLiteral("Курсоры"));
    copyCursorsItem_ = pmChart_->addAction(QStringLiteral("Копировать значения курсоров"));
    legendItem_ = switchItem(pmChart_, QStringLiteral("Легенда"));
    copyCursorsItem_->setEnabled(false);
    connect(pmChart_, &QMenu::aboutToShow, this,
            [this, zoom] { previousZoomItem_->setEnabled(!zoom->history().isEmpty()); });
    connect(previousZoomItem_, &QAction::triggered, this, [zoom] { zoom->stepBack(); });

    // The cursors stand on samples, counted as the status-bar read-out counts them.
    cursors->setIndexing(
        [this](double x) {
            return CursorIndexAt(x, chart.ReadoutStep, ui->Chart1->Series1()->dataCount());
        },
        [this](qsizetype i) { return static_cast<double>(i) * chart.ReadoutStep; });
    connect(cursorsItem_, &QAction::toggled, cursors, &PlotCursors::setShown);
    connect(cursors, &PlotCursors::shownChanged, this, [this](bool shown) {
        showChecked(cursorsItem_, shown);
        copyCursorsItem_->setEnabled(shown);
    });
    connect(cursors, &PlotCursors::moved, this, [this] { showCursorReadout(); });
    connect(copyCursorsItem_, &QAction::triggered, this, [this] { copyCursorReadout(); });
    // Every change of the data, the options or the view ends in a replot: the read-out is
    // brought up to date before the cursors' layer is drawn.
    connect(c, &QCustomPlot::beforeReplot, this, [this] {
        chartSignalChecked_ = false;
        showCursorReadout();
    });

    connect(legendItem_, &QAction::toggled, c->chartLegend(), &ChartLegend::setShown);

    connect(&acquisition(), &Acquisition::chartFlagsReset, this, [this] { newRecordShown(); });
}

void MainWindow::newRecordShown()
{
    ChartView* c = ui->Chart1;
    c->zoomGesture()->clearHistory();
    c->cursors()->setShown(false);
}

const PlottedSignal& MainWindow::chartSignal()
{
    if (!chartSignal_ || !chartSignalChecked_) {
        const size_t key = plottedSignalKey();
        if (!chartSignal_ || key != chartSignalKey_) {
            chartSignal_ = std::make_unique<PlottedSignal>(plottedSignal());
            chartSignalKey_ = key;
        }
        chartSignalChecked_ = true;
    }
    return *chartSignal_;
}

void MainWindow::showCursorReadout()
{
    PlotCursors* cursors = ui->Chart1->cursors();
    if (!cursors->isShown())
        return;
    CursorAxis axis;
    axis.step = chart.ReadoutStep;
    axis.time = ShowsTime(ui->cbShowK->currentIndex());
    axis.unit = chart.XUnitName;
    axis.XUnitFactor = chart.XUnitFactor;
    axis.linesShown = {ui->cbDgt1->isChecked(), ui->cbDgt2->isChecked(), ui->cbDgt3->isChecked()};
    cursors->setReadout(ReadCursors(chartSignal(), cursors->indexA(), cursors->indexB(), axis).lines);
}

void MainWindow::copyCursorReadout()
{
    const PlotCursors* cursors = ui->Chart1->cursors();
    if (cursors->isShown())
        QGuiApplication::clipboard()->setText(cursors->readout().join(u'\n'));
}

}  // namespace korvel
