// A zoom of the main chart with the spectrum window open, end to end: the zoom's replot of the
// main chart (240000 samples), the spectrum's recomputation for the new visible range and its
// replot, as the user sees them after one drag.
#include "app/MainWindow.h"
#include "chartview/ChartView.h"
#include "chartview/SpectrumWindow.h"
#include "chartview/ZoomGesture.h"
#include "device/Acquisition.h"
#include "sim/SimulatedPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

void BM_ZoomWithSpectrumOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    korvel::RecordingMessages messages;
    korvel::MainWindow w(dir.filePath(QStringLiteral("Korvel.ini")), messages,
                         {std::make_unique<korvel::SimulatedPort>(),
                          korvel::FixedPortFinder(QStringLiteral("simulated"))});
    w.resize(800 + korvel::MainWindow::ChartWidthMargin, 400 + korvel::MainWindow::ChartHeightMargin);
    w.show();
    QApplication::processEvents();
    korvel::Acquisition& a = w.acquisition();
    a.ModeCommand = QByteArray("\x12\x00\x00", 3);
    a.SamplePeriod = static_cast<double>(21.0L / 14.7456L);
    a.SampleBuffer.resize(2 * 240000);
    for (int i = 0; i < 240000; ++i) {
        const int reading = 2048 + static_cast<int>(1500 * std::sin(i * 0.01)) + (i * 7919) % 31;
        qToLittleEndian<quint16>(static_cast<quint16>(reading), a.SampleBuffer.data() + 2 * i);
    }
    w.ShowChart(korvel::MainWindow::ChartOrigin::cbShowK);
    w.btSpectrumClick();
    QApplication::processEvents();

    korvel::ChartView* c = w.form()->Chart1;
    const QRect area = c->axisRect()->rect();
    bool zoomIn = true;
    for (auto _ : state) {
        // Alternately a zoom to the middle half and back to the whole record.
        if (zoomIn)
            c->zoomGesture()->zoomTo(QRectF(area.left() + area.width() / 4.0, area.top(),
                                            area.width() / 2.0, area.height()));
        else
            c->zoomGesture()->undoZoom();
        zoomIn = !zoomIn;
        QApplication::processEvents();   // the spectrum follows the replot
        benchmark::DoNotOptimize(w.spectrumWindow()->analysis().channels.size());
    }
    w.close();
}
BENCHMARK(BM_ZoomWithSpectrumOpen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

}  // namespace
