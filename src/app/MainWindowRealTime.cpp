// The real-time mode: its start and stop, the decisions of the two control outputs on every
// reply, and the single temperature reading. The acquisition object stores the replies and
// the core's RealTimeCycle runs the polling chain; this file shows what was decided.
#include "app/CaptionColour.h"
#include "app/MainWindow.h"
#include "app/SwitchCaptions.h"

#include "chartview/ChartFill.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/OutputRules.h"
#include "device/RealTimeCycle.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QLabel>

namespace korvel {

namespace {

void setIndicatorColour(QLabel* indicator, const QColor& c)
{
    QPalette p = indicator->palette();
    p.setColor(QPalette::Window, c);
    indicator->setPalette(p);
}

constexpr int XUnitSecondsIndex = 2;  // "с" in cbXscale

// Each lost point is a gap the record closes: the time axis after it is off by a period.
QString lostPointsText(int lost)
{
    return QStringLiteral("ПОТЕРЯНО ТОЧЕК: %1").arg(lost);
}

}  // namespace

void MainWindow::wireRealTime()
{
    realTimeCycle_ = std::make_unique<RealTimeCycle>(
        acquisition(), [this] { return ui->cbTermo->isChecked(); });
    connect(ui->btSingle, &QToolButton::clicked, this, &MainWindow::btSingleClick);
    connect(ui->btTemperature, &QPushButton::clicked, this, &MainWindow::btTemperatureClick);

    Acquisition* a = &acquisition();
    connect(a, &Acquisition::realTimeReply, this, &MainWindow::realTimeReplyStored);
    connect(a, &Acquisition::realTimeRecordFull, this, &MainWindow::realTimeRecordFull);
    connect(a, &Acquisition::realTimePointLost, this,
            [this](int lost) { statusPanel(0)->setText(lostPointsText(lost)); });
    // Status panel 1 shows the signal output's summary in this mode, not the read-out.
    connect(a, &Acquisition::readoutOff, this, [this] { chart.ReadoutOn = false; });
}

void MainWindow::btSingleClick()
{
    Ui::MainWindow& f = *ui;
    Acquisition& a = acquisition();
    scaling.CoefficientsFromFile = false;
    f.btRd->setEnabled(false);
    a.useRealTimePeriod();
    AccelerometerMode = false;
    f.gbAx->hide();
    f.gbFT->hide();

    RealTimeCycle& cycle = realTimeCycle();
    if (cycle.isRunning()) {
        a.clearPending();
        f.pnlA->hide();
        f.pnlT->hide();
        cycle.stop();
        f.btSingle->setText(SingleCaptions.off);
        SetCaptionColour(f.btSingle, QApplication::palette().color(QPalette::WindowText));
        if (a.lostRealTimePoints() > 0)
            statusPanel(0)->setText(QStringLiteral("ОСТАНОВЛЕНО, ")
                                    + lostPointsText(a.lostRealTimePoints()));
        return;
    }

    f.pnlA->show();
    f.pnlT->show();
    if (!btCloseCtlPrmClick()) {
        // The mode does not start, so there is no line state to show.
        f.pnlA->hide();
        f.pnlT->hide();
        return;
    }
    if (!f.gbOptions->isHidden())
        gbOptionsClick();
    ChartView* c = f.Chart1;
    c->rightAxis()->setVisible(true);
    for (QCPGraph* g : {c->Series1(), c->Series2(), c->SeriDgt1(), c->SeriDgt2(), c->SeriDgt3(),
                        c->SeriTermo()})
        clearGraph(g);
    chart.plotInterrupted = false;
    newRecordShown();
    // A Y-only accelerometer plot may have left the signal in Series2's colour.
    c->setSeriesColor(c->Series1(), Qt::black);
    c->replot();
    if (secondary_) {
        for (QCPGraph* g : {secondary_->SeriDgt1(), secondary_->SeriDgt2(), secondary_->SeriDgt3()})
            clearGraph(g);
        secondary_->placeUnder(this);
    }
    // What the status bar says is the last run's; the summaries of this one replace it.
    for (QLabel* panel : statusPanels_)
        panel->clear();
    cycle.start();
    f.btSingle->setText(SingleCaptions.on);
    SetCaptionColour(f.btSingle, Qt::red);
    f.cbXscale->setCurrentIndex(XUnitSecondsIndex);
}

void MainWindow::btTemperatureClick()
{
    ui->btRd->setEnabled(false);
    acquisition().requestTemperature();
}

void MainWindow::realTimeReplyStored(bool withTemperature)
{
    if (withTemperature) {
        DecideOutput(true);
        DecideOutput(false);
    }
    ShowChart(ChartOrigin::timRx);
}

void MainWindow::realTimeRecordFull()
{
    if (!realTimeCycle().isRunning())
        return;
    btSingleClick();
    QString text = QStringLiteral("ЗАПИСЬ ЗАПОЛНЕНА: %1 ТОЧЕК").arg(Acquisition::RealTimeCapacity);
    if (const int lost = acquisition().lostRealTimePoints(); lost > 0)
        text += QStringLiteral(", ") + lostPointsText(lost);
    statusPanel(0)->setText(text);
}

void MainWindow::DecideOutput(bool signalOutput)
{
    Ui::MainWindow& f = *ui;
    const Acquisition& a = acquisition();
    const OutputLine line = signalOutput ? OutputLine::Signal : OutputLine::Temperature;
    QComboBox* level2 = signalOutput ? f.cbALevel2 : f.cbTLevel2;

    OutputRule rule;
    rule.condition1 = (signalOutput ? f.cbACondition1 : f.cbTCondition1)->currentIndex();
    rule.condition2 = (signalOutput ? f.cbACondition2 : f.cbTCondition2)->currentIndex();
    rule.level1 = (signalOutput ? f.cbALevel1 : f.cbTLevel1)->currentIndex();
    rule.level2 = level2->currentIndex();
    rule.On = signalOutput ? thresholds.AnalogLevelOn : thresholds.ThermoLevelOn;
    rule.Off = signalOutput ? thresholds.AnalogLevelOff : thresholds.ThermoLevelOff;
    rule.onText = (signalOutput ? f.eAOn : f.eTOn)->text();
    rule.offText = (signalOutput ? f.eAOff : f.eTOff)->text();

    const double value = signalOutput ? a.CurrentSignal() : a.CurrentTemperature();
    const OutputDecision d = korvel::DecideOutput(line, value, rule);
    if (d.level2ForcedToLevel1)
        level2->setCurrentIndex(d.level2);
    statusPanel(signalOutput ? 1 : 2)->setText(d.summary);

    QLabel* indicator = signalOutput ? f.pnlA : f.pnlT;
    switch (d.result) {
    case OutputResult::High:
        indicator->setText(OutputIndicatorCaption(line, d.result));
        setIndicatorColour(indicator, Qt::red);
        break;
    case OutputResult::Low:
        indicator->setText(OutputIndicatorCaption(line, d.result));
        setIndicatorColour(indicator, Qt::blue);
        break;
    case OutputResult::Hold:
        setIndicatorColour(indicator, Qt::yellow);
        break;
    }
    realTimeCycle().applyOutput(line, d.result);
}

}  // namespace korvel
