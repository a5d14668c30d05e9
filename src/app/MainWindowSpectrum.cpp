// The spectrum window beside the main chart: opened from the chart's pop-up menu and the small
// button beside the copy button, it follows whatever the chart shows. Every change of the chart
// ends in a replot; after it the window takes the signal again when the data, the display mode
// or the scaling changed, and otherwise only the visible X range.
#include "app/MainWindow.h"

#include "app/EventHook.h"
#include "app/HelpWindow.h"
#include "chart/PlottedSignal.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ChartView.h"
#include "chartview/PlaceOnScreen.h"
#include "chartview/SpectrogramWindow.h"
#include "chartview/SpectrumWindow.h"
#include "device/Acquisition.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace korvel {

void MainWindow::wireSpectrum()
{
    Ui::MainWindow& f = *ui;
    spectrum_ = new SpectrumWindow(this);
    // The program ends with the main window, whether or not the spectrum is open.
    spectrum_->setAttribute(Qt::WA_QuitOnClose, false);
    spectrum_->messages = &messages();
    // The spectrum prints where the chart prints, a PDF file included.
    spectrum_->CurrentPrinter = [this] { return printerOrPdfFile(); };
    spectrum_->setProperty("helpTopic", SpectrumHelpTopic);
    addHelpKey(spectrum_);

    N2_ = pmChart_->addAction(QStringLiteral("Спектр"));
    N2_->setObjectName(QStringLiteral("N2"));
    connect(N2_, &QAction::triggered, this, [this] { btSpectrumClick(); });
    connect(f.btSpectrum, &QToolButton::clicked, this, [this] { btSpectrumClick(); });
    // The button keeps its place beside the copy button, which the window's resize moves.
    new EventHook(f.btSaveChart, [this](QEvent* e) {
        if (e->type() == QEvent::Move)
            ui->btSpectrum->move(ui->btSaveChart->x() + ui->btSaveChart->width() + 2,
                                 ui->btSaveChart->y());
        return false;
    });

    // One update after a burst of replots.
    connect(f.Chart1, &QCustomPlot::afterReplot, this, [this] {
        if (spectrumSyncQueued_ || !(spectrum_->isVisible() || spectrogram_->isVisible()))
            return;
        spectrumSyncQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            spectrumSyncQueued_ = false;
            syncAnalysisWindows();
        });
    });
}

void MainWindow::btSpectrumClick()
{
    if (!spectrumPlaced_) {
        spectrumPlaced_ = true;
        const SpectrumSettings& s = spectrumPlace_;
        QPoint place(s.left, s.top);
        if (s.left < 0 || s.top < 0) {
            // Beside the main window when the screen has room, over its right part otherwise.
            place = BesideWindow(frameGeometry(), screen()->availableGeometry(), s.width, s.height,
                                 frameGeometry().top());
        }
        // Framed as the main window is, by the same window manager.
        PlaceOnScreen(spectrum_, place.x(), place.y(), s.width, s.height,
                      windowHandle() ? windowHandle()->frameMargins() : QMargins());
    }
    spectrum_->show();
    spectrum_->raise();
    spectrum_->activateWindow();
    spectrumKey_ = 0;
    syncAnalysisWindows();
}

PlottedSignal MainWindow::plottedSignal() const
{
    return PlotSignal(acquisition().recording(),
                      {ui->cbShowK->currentIndex(), chart.XUnitFactor,
                       {scaling.ScaleK, scaling.ScaleShift},
                       ui->Chart1->SeriTermo()->dataCount() > 0});
}

size_t MainWindow::plottedSignalKey() const
{
    // Everything the plotted values depend on; the bytes by their hash.
    const Recording& r = acquisition().recording();
    const bool realTime = r.isRealTime();
    return qHashMulti(
        1, qHash(r.SampleBuffer), r.ModeCommand, r.DataKind, r.SamplePeriod, r.AccelPeriod,
        realTime ? r.RealTimeCount : 0,
        realTime ? qHashRange(r.RealTimeSignal.begin(), r.RealTimeSignal.end()) : 0,
        ui->Chart1->SeriTermo()->dataCount() > 0, ui->cbShowK->currentIndex(), chart.XUnitFactor,
        scaling.ScaleK, scaling.ScaleShift);
}

void MainWindow::syncAnalysisWindows()
{
    const bool spectrum = spectrum_ && spectrum_->isVisible();
    const bool frames = spectrogram_ && spectrogram_->isVisible();
    if (!spectrum && !frames)
        return;
    const ChartView* c = ui->Chart1;
    const QString title = c->leftAxis()->label().isEmpty() ? QStringLiteral("Амплитуда")
                                                           : c->leftAxis()->label();
    const QColor first = c->seriesColor(c->Series1());
    const QColor second = c->seriesColor(c->Series2());
    const size_t plotted = qHashMulti(plottedSignalKey(), title);
    const AxisLimits x = axisLimits(c->bottomAxis());
    // The recording is plotted once for the chart's cursors and both windows.
    if (spectrum) {
        const size_t key = qHashMulti(plotted, first.rgb(), second.rgb());
        if (key != spectrumKey_) {
            spectrumKey_ = key;
            spectrum_->setSignal(chartSignal(), title, {first, second}, x.minimum, x.maximum);
        } else {
            spectrum_->setRange(x.minimum, x.maximum);
        }
    }
    if (frames) {
        if (plotted != spectrogramKey_) {
            spectrogramKey_ = plotted;
            spectrogram_->setSignal(chartSignal(), title, x.minimum, x.maximum);
        } else {
            spectrogram_->setRange(x.minimum, x.maximum);
        }
    }
}

}  // namespace korvel
