// The measurement starts of the tool bar and the F/T window, the window's side of an array
// transfer, and the progress panel. The acquisition object holds the state and talks to the
// board; this file only reads the controls and shows what happens.
#include "app/MainWindow.h"

#include "app/EventHook.h"
#include "app/LinkTexts.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/ModeStarts.h"
#include "record/BoardWords.h"
#include "text/Messages.h"
#include "timing/Divisors.h"
#include "ui_MainWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace korvel {

namespace {

// The pair the F/T start sends. The window computes it on opening; should the start come
// before any pair exists, the nearest valid pair for the held duration is used instead of
// sending divisors that were never computed.
DivisorPair pairForStart(const FtCalculator& ft)
{
    if (const std::optional<DivisorPair> p = ft.divisors())
        return *p;
    if (const std::optional<DivisorPair> p = FindDivisors(ft.Time4allSRAM()))
        return *p;
    return ft.Time4allSRAM() < 439 ? DivisorPair{1, 1} : DivisorPair{256, 256};
}

}  // namespace

void MainWindow::wireMeasurements()
{
    Ui::MainWindow& f = *ui;
    connect(f.bt1MHz, &QToolButton::clicked, this, &MainWindow::bt1MHzClick);
    connect(f.bt07MHz, &QToolButton::clicked, this, &MainWindow::bt07MHzClick);
    connect(f.btStart, &QPushButton::clicked, this, &MainWindow::btStartClick);
    connect(f.btStartFExtrn, &QToolButton::clicked, this, &MainWindow::btStartFExtrnClick);
    connect(f.btRd, &QToolButton::clicked, this, &MainWindow::btRdClick);
    connect(&Timer2, &QTimer::timeout, this, &MainWindow::Timer2Timer);
    connect(f.btCancelRun, &QPushButton::clicked, this, &MainWindow::btCancelRunClick);
    connect(acquisition_.get(), &Acquisition::transferStarted, this, &MainWindow::GetDataShown);
    connect(acquisition_.get(), &Acquisition::recordKeptAside, this, &MainWindow::keepShownRecord);
    connect(acquisition_.get(), &Acquisition::recordRestored, this,
            &MainWindow::showRestoredRecord);
    // The record before the failed transfer is already back and shown.
    connect(acquisition_.get(), &Acquisition::transferFailed, this,
            [this](const QString& text) { messages().error(text); });

    // Only the strip itself counts: a double click on one of its buttons is two clicks.
    new EventHook(f.ControlBar1, [this](QEvent* e) {
        if (e->type() != QEvent::MouseButtonDblClick)
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        if (ui->ControlBar1->childAt(me->position().toPoint()))
            return false;
        ControlBar1DblClick();
        return true;
    });

    wireFrequencyWindow();
}

namespace {
void enableReadAndCloseWindows(Ui::MainWindow& f)
{
    f.btRd->setEnabled(true);
    f.gbAx->hide();
    f.gbFT->hide();
}
}  // namespace

void MainWindow::bt1MHzClick()
{
    enableReadAndCloseWindows(*ui);
    acquisition().applyStart(Start1MHz(TriggerType));
    // Only now: the record kept aside at the start keeps the mode it was shown in.
    AccelerometerMode = false;
    seTimeChange();
    BeginAcquisition();
}

void MainWindow::bt07MHzClick()
{
    enableReadAndCloseWindows(*ui);
    acquisition().applyStart(Start07MHz(TriggerType));
    AccelerometerMode = false;
    seTimeChange();
    BeginAcquisition();
}

void MainWindow::ControlBar1DblClick()
{
    // Like "0,7МГц" but leaves "Read" as it is.
    ui->gbAx->hide();
    ui->gbFT->hide();
    acquisition().applyStart(StartAlt());
    AccelerometerMode = false;
    seTimeChange();
    BeginAcquisition();
}

void MainWindow::btStartClick()
{
    Ui::MainWindow& f = *ui;
    f.btRd->setEnabled(true);
    setChooseFCaption(false);

    const DivisorPair pair = pairForStart(ft);
    const ModeStart s = StartFT(TriggerType, ft.SRAMblocks(), pair.d1, pair.d2);
    if (s.showMeasureProgress)
        startProgress(s.MeasureTimeMs);
    f.gbFT->hide();
    acquisition().applyStart(s);
    AccelerometerMode = false;
    BeginAcquisition();
}

void MainWindow::btStartFExtrnClick()
{
    Ui::MainWindow& f = *ui;
    f.btRd->setEnabled(true);

    const int samples = f.seSamplesFExtrn->value();
    // The F/T window computes with this block count from now on, and it is what gets saved.
    ft.setSRAMblocks(samples / 30000);
    const ModeStart s = StartExtF(samples, f.seFExtrn->value());
    if (s.showMeasureProgress)
        startProgress(s.MeasureTimeMs);
    f.gbFT->hide();
    acquisition().applyStart(s);
    AccelerometerMode = false;
    BeginAcquisition();
}

void MainWindow::btRdClick()
{
    ui->gbAx->hide();
    acquisition().Read();
    // Panel 1's text (an accelerometer period, a real-time summary) was the last run's.
    statusPanel(1)->clear();
}

void MainWindow::BeginAcquisition()
{
    Ui::MainWindow& f = *ui;
    if (!f.gbOptions->isHidden())
        f.btOptions->click();
    f.Chart1->rightAxis()->setVisible(false);
    if (secondary_)
        secondary_->hide();
    data.AxisXName = MicrosecondsAxisName();
    f.lbPercent->clear();
    f.lbRestPercent->clear();
    // The acquisition writes panels 0 and 2; panel 1's text belongs to the run before.
    statusPanel(1)->clear();
    acquisition().BeginAcquisition();
}

void MainWindow::GetDataShown(double transferTimeMs)
{
    Ui::MainWindow& f = *ui;
    data.AxisXName = TimeAxisName(f.cbXscale->currentText());
    f.lbPercent->clear();
    f.lbRestPercent->clear();
    f.Chart1->Series1()->data()->clear();
    f.Chart1->Series2()->data()->clear();
    chart.plotInterrupted = false;  // the data it stopped on is being replaced
    // The previous curve would otherwise stay on screen for the whole transfer.
    f.Chart1->replot();
    startProgress(transferTimeMs);
    f.gbFile->setTitle(QStringLiteral("Комментарий"));
}

void MainWindow::startProgress(double durationMs)
{
    Ui::MainWindow& f = *ui;
    const ProgressStart p = StartProgress(durationMs);
    f.progressBar->setMaximum(p.maximum);
    f.progressBar->setValue(0);
    f.Panel1->show();
    if (!Timer2.isActive())
        Timer2.start();
    ProgressTotalS = p.ProgressTotalS;
    ProgressElapsedS = 0;
    ProgressRestS = ProgressTotalS;
    f.lElapsed->setText(p.lElapsed);
    f.lRest->setText(p.lRest);
    f.lAll->setText(p.lAll);
}

void MainWindow::Timer2Timer()
{
    Ui::MainWindow& f = *ui;
    const ProgressTick t = TickProgress(acquisition().ProgressStartTick(), acquisition().now(),
                                        ProgressTotalS, f.progressBar->maximum());
    ProgressElapsedS = t.ProgressElapsedS;
    ProgressRestS = t.ProgressRestS;
    ProgressPercent = t.ProgressPercent;
    f.lbPercent->setText(t.lbPercent);
    f.lbRestPercent->setText(t.lbRestPercent);
    f.lElapsed->setText(t.lElapsed);
    f.lRest->setText(t.lRest);
    f.progressBar->setValue(std::min(t.position, f.progressBar->maximum()));
    if (t.hide) {
        f.Panel1->hide();
        Timer2.stop();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Keys the focused control leaves unused arrive here; Esc there means "stop waiting".
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        btCancelRunClick();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::btCancelRunClick()
{
    const Acquisition& a = acquisition();
    // A start or a transfer is under way: something is pending for a mode with a start
    // command of its own (the real-time and temperature requests are single bytes).
    const bool waiting = a.ModeCommand().size() > 1 && !a.PendingCommand().isEmpty()
                         && !cmd::IsIdle(a.PendingCommand());
    if (!waiting && ui->Panel1->isHidden())
        return;
    acquisition().Cancel();
    // What already arrived belongs to the abandoned run too, and so does a request not yet sent.
    port().purge();
    Timer2.stop();
    ui->Panel1->hide();
    statusPanel(0)->setText(QStringLiteral("ИЗМЕРЕНИЕ ОТМЕНЕНО"));
}

void MainWindow::keepShownRecord()
{
    Ui::MainWindow& f = *ui;
    shownBefore_.temperatureAxis = f.Chart1->rightAxis()->visible();
    shownBefore_.AccelerometerMode = AccelerometerMode;
    shownBefore_.caption = f.gbFile->title();
    for (int i = 0; i < 3; ++i)
        shownBefore_.status[i] = statusPanel(i)->text();
}

void MainWindow::showRestoredRecord()
{
    Ui::MainWindow& f = *ui;
    Timer2.stop();
    f.Panel1->hide();
    f.Chart1->rightAxis()->setVisible(shownBefore_.temperatureAxis);
    AccelerometerMode = shownBefore_.AccelerometerMode;
    // Drawn whole, as a loaded record is; a real-time record keeps its temperature trace,
    // which the start left alone.
    ShowChart(ChartOrigin::btLoadFile);
    f.gbFile->setTitle(shownBefore_.caption);
    for (int i = 0; i < 3; ++i)
        statusPanel(i)->setText(shownBefore_.status[i]);
    // A link lost before the start and made again since is no state of the record: the panel
    // would say "нет связи" beside a green USB button.
    if (shownBefore_.status[0] == NoLinkText() && port_->isOpen())
        statusPanel(0)->clear();
}

}  // namespace korvel
