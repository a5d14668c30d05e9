// One mouse move with the read-out on over a full 8-block measurement (240000 points, three
// digital lines shown): what the window does for every move of the mouse over the chart.
#include "app/MainWindow.h"
#include "chartview/ChartView.h"
#include "device/Acquisition.h"
#include "sim/SimulatedPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>

namespace {

void BM_ReadoutMouseMoveFullBuffer(benchmark::State& state)
{
    QTemporaryDir dir;
    korvel::RecordingMessages messages;
    korvel::MainWindow w(dir.filePath(QStringLiteral("Korvel.ini")), messages,
                         {std::make_unique<korvel::SimulatedPort>(),
                          korvel::FixedPortFinder(QStringLiteral("simulated"))});
    w.resize(800 + korvel::MainWindow::ChartWidthMargin, 400 + korvel::MainWindow::ChartHeightMargin);
    Ui::MainWindow& f = *w.form();
    f.cbDgt1->setChecked(true);
    f.cbDgt2->setChecked(true);
    f.cbDgt3->setChecked(true);
    const int n = 8 * 30000;
    QByteArray words(n * 2, '\0');
    for (int i = 0; i < n; ++i)
        qToLittleEndian<quint16>(static_cast<quint16>((((i / 1000) & 7) << 13) | (i % 4096)),
                                 words.data() + 2 * i);
    w.acquisition().loadRecording({.SampleBuffer = words,
                                   .ModeCommand = QByteArray("\x12\x00\x00", 3),
                                   .SamplePeriod = static_cast<double>(14.0L / 14.7456L)});
    w.ShowChart(korvel::MainWindow::ChartOrigin::timRx);
    w.statusClick();

    const QCPAxisRect* r = f.Chart1->axisRect();
    double x = r->left();
    for (auto _ : state) {
        w.Chart1MouseMove(x);
        x = x + 1 < r->right() ? x + 1 : r->left();
    }
    benchmark::DoNotOptimize(w.statusPanel(1)->text());
    w.close();
}
BENCHMARK(BM_ReadoutMouseMoveFullBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace
