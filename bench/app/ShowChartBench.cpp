// ShowChart end to end in the window: a full 8-block measurement (240000 samples, three digital
// lines) through the series builder into the chart, with one replot at 800x400; a zoom of that
// chart with the spectrum window open, both charts' replots included; one notch of the wheel
// with the digital lines shown (the zoom event redraws them) up to the painted chart; one step
// of a cursor drag, its read-out and the painted chart included; the copy of a zoomed chart
// (its SVG drawing, its bitmap and the replot after them).
#include "app/MainWindow.h"
#include "chartview/ChartPicture.h"
#include "chartview/ChartView.h"
#include "chartview/PlotCursors.h"
#include "chartview/SpectrumWindow.h"
#include "chartview/ZoomGesture.h"
#include "device/Acquisition.h"
#include "sim/SimulatedPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

QByteArray fullMeasurement(int n)
{
    QByteArray b(n * 2, '\0');
    for (int i = 0; i < n; ++i) {
        const int reading = 2048 + static_cast<int>(1500 * std::sin(i * 0.001)) + (i * 7919) % 31;
        const int lines = ((i / 1000) & 1) << 13 | ((i / 3000) & 1) << 14 | ((i / 7000) & 1) << 15;
        qToLittleEndian<quint16>(static_cast<quint16>(lines | (reading & 0x0FFF)), b.data() + 2 * i);
    }
    return b;
}

// The window shown with an 800x400 chart, holding a full measurement not yet drawn.
struct FullWindow {
    QTemporaryDir dir;
    korvel::RecordingMessages messages;
    korvel::MainWindow w{dir.filePath(QStringLiteral("Korvel.ini")), messages,
                         {std::make_unique<korvel::SimulatedPort>(),
                          korvel::FixedPortFinder(QStringLiteral("simulated"))}};

    FullWindow()
    {
        w.resize(800 + korvel::MainWindow::ChartWidthMargin,
                 400 + korvel::MainWindow::ChartHeightMargin);
        w.show();
        QApplication::processEvents();
        w.acquisition().loadRecording({.SampleBuffer = fullMeasurement(8 * 30000),
                                       .ModeCommand = QByteArray("\x12\x00\x00", 3),
                                       .SamplePeriod = static_cast<double>(14.0L / 14.7456L)});
    }
    ~FullWindow() { w.close(); }

    // The measurement drawn with the three digital lines shown.
    korvel::ChartView* drawnWithAllLines()
    {
        Ui::MainWindow& f = *w.form();
        for (QCheckBox* line : {f.cbDgt1, f.cbDgt2, f.cbDgt3})
            line->setChecked(true);
        w.ShowChart(korvel::MainWindow::ChartOrigin::cbShowK);
        return f.Chart1;
    }
};

void BM_ShowChartFullBuffer(benchmark::State& state)
{
    FullWindow fw;
    Ui::MainWindow& f = *fw.w.form();
    f.cbDgt1->setChecked(true);
    f.cbDgt2->setChecked(true);
    f.cbDgt3->setChecked(true);
    for (auto _ : state) {
        fw.w.ShowChart(korvel::MainWindow::ChartOrigin::cbShowK);
        benchmark::DoNotOptimize(f.Chart1->Series1()->dataCount());
    }
    state.counters["chart_w"] = f.Chart1->width();
    state.counters["chart_h"] = f.Chart1->height();
}
BENCHMARK(BM_ShowChartFullBuffer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

void BM_ZoomWithSpectrumOpen(benchmark::State& state)
{
    FullWindow fw;
    fw.w.ShowChart(korvel::MainWindow::ChartOrigin::cbShowK);
    fw.w.btSpectrumClick();
    QApplication::processEvents();
    korvel::ChartView* c = fw.w.form()->Chart1;
    const QRect area = c->axisRect()->rect();
    bool zoomIn = true;
    for (auto _ : state) {
        // Alternately the middle half and the whole record; the spectrum follows the replot.
        if (zoomIn)
            c->zoomGesture()->zoomTo(QRectF(area.left() + area.width() / 4.0, area.top(),
                                            area.width() / 2.0, area.height()));
        else
            c->zoomGesture()->undoZoom();
        zoomIn = !zoomIn;
        QApplication::processEvents();
        benchmark::DoNotOptimize(fw.w.spectrumWindow()->analysis().channels.size());
    }
}
BENCHMARK(BM_ZoomWithSpectrumOpen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

void BM_WheelNotchFullBuffer(benchmark::State& state)
{
    FullWindow fw;
    korvel::ChartView* c = fw.drawnWithAllLines();
    const QPointF at = c->axisRect()->rect().center();
    bool in = true;
    for (auto _ : state) {
        // Alternately in and out over the middle: every notch a new view.
        QWheelEvent e(at, c->mapToGlobal(at), QPoint(), QPoint(0, in ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(c, &e);
        c->repaint();
        in = !in;
    }
    benchmark::DoNotOptimize(c->bottomAxis()->range().size());
}
BENCHMARK(BM_WheelNotchFullBuffer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

void BM_CursorDragStepFullBuffer(benchmark::State& state)
{
    FullWindow fw;
    Ui::MainWindow& f = *fw.w.form();
    f.cbDgt1->setChecked(true);
    fw.w.ShowChart(korvel::MainWindow::ChartOrigin::cbShowK);
    korvel::ChartView* c = f.Chart1;
    korvel::PlotCursors* cursors = c->cursors();
    fw.w.cursorsItem()->trigger();
    // Cursor B grabbed and moved a pixel at a time over the whole plot, A at the far left:
    // the stretch between them is up to all 240000 points.
    cursors->setIndexes(0, cursors->indexB());
    const QRect area = c->axisRect()->rect();
    const auto send = [c](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent e(type, at, c->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
        QCoreApplication::sendEvent(c, &e);
    };
    // Counted, to show that every step moved the cursor and wrote the read-out anew.
    int readouts = 0;
    QObject::connect(cursors, &korvel::PlotCursors::moved, [&readouts] { ++readouts; });
    double x = c->bottomAxis()->coordToPixel(cursors->cursorX(1));
    send(QEvent::MouseButtonPress, QPointF(x, area.center().y()), Qt::LeftButton);
    for (auto _ : state) {
        x = x + 1 < area.right() ? x + 1 : area.left() + 1;
        send(QEvent::MouseMove, QPointF(x, area.center().y()), Qt::LeftButton);
        c->repaint();
    }
    send(QEvent::MouseButtonRelease, QPointF(x, area.center().y()), Qt::NoButton);
    state.counters["readouts"] = benchmark::Counter(readouts, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CursorDragStepFullBuffer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

void BM_CopyZoomedChartFullBuffer(benchmark::State& state)
{
    FullWindow fw;
    korvel::ChartView* c = fw.drawnWithAllLines();
    const QRect area = c->axisRect()->rect();
    c->zoomGesture()->zoomTo(QRectF(area.left() + area.width() / 4.0, area.top() + area.height() / 4.0,
                                    area.width() / 2.0, area.height() / 2.0));
    QApplication::processEvents();
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = korvel::renderChartPicture(c).svg.size();
    state.counters["svg_kB"] = double(bytes) / 1000.0;
}
BENCHMARK(BM_CopyZoomedChartFullBuffer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

}  // namespace
