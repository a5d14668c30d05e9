// Drawing a full 700 kHz measurement: 240000 samples with three digital lines into an 800x400
// chart, a replot alone, and the memory such a chart adds.
#include "chart/PlottedSignal.h"
#include "chart/SeriesBuilder.h"
#include "chartview/ChartFill.h"
#include "chartview/MeasurementReport.h"
#include "chartview/SpectrogramChart.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumWindow.h"
#include "spectrum/ReportText.h"
#include "spectrum/Spectrogram.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <cmath>
#include <memory>
#include <unistd.h>

using namespace korvel;

namespace {

constexpr int FullChartSamples = 8 * 30000;

QByteArray testSignal(int n)
{
    QByteArray b(n * 2, '\0');
    for (int i = 0; i < n; ++i) {
        const int reading = 2048 + static_cast<int>(1500 * std::sin(i * 0.001)) + (i * 7919) % 31;
        const quint16 lines = static_cast<quint16>(((i / 1000) & 1) << 13 | ((i / 3000) & 1) << 14 |
                                                   ((i / 7000) & 1) << 15);
        qToLittleEndian<quint16>(static_cast<quint16>(lines | (reading & 0x0FFF)), b.data() + 2 * i);
    }
    return b;
}

struct Measurement {
    QByteArray buffer = testSignal(FullChartSamples);
    QByteArray command{"\x12\x00\x00", 3};
    Recording data;
    DisplayOptions options;
    ScaleCoefficients scale{0.61, 2047};

    Measurement()
    {
        data.SampleBuffer = buffer;
        data.ModeCommand = command;
        data.SamplePeriod = static_cast<double>(14.0L / 14.7456L);
        options.displayMode = 0;
        options.XUnitFactor = 1000;
        options.cbDgt = {true, true, true};
    }
    ChartPlot build() const { return BuildChartPlot(data, options, scale, {}); }
};

struct Chart {
    std::unique_ptr<QCustomPlot> plot = std::make_unique<QCustomPlot>();
    ChartGraphs graphs;

    Chart()
    {
        plot->resize(800, 400);
        graphs.Series1 = plot->addGraph();
        graphs.SeriDgt3 = plot->addGraph();
        graphs.SeriDgt1 = plot->addGraph();
        graphs.SeriDgt2 = plot->addGraph();
        graphs.Series2 = plot->addGraph();
        graphs.SeriTermo = plot->addGraph(plot->xAxis, plot->yAxis2);
        plot->show();
        QCoreApplication::processEvents();
    }
};

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0.0;
    return fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// First, so that no earlier benchmark has left freed memory for this one to reuse.
void BM_MemoryOfAFullChart(benchmark::State& state)
{
    const Measurement m;
    for (auto _ : state) {
        Chart chart;
        chart.plot->replot();
        const double before = residentMegabytes();
        applyChartPlot(chart.plot.get(), chart.graphs, m.build(), false);
        const double after = residentMegabytes();
        state.counters["addedMB"] = after - before;
    }
}

void BM_ApplyChartPlot(benchmark::State& state)
{
    const Measurement m;
    const ChartPlot plot = m.build();
    Chart chart;
    for (auto _ : state)
        applyChartPlot(chart.plot.get(), chart.graphs, plot, false);
}

void BM_ShowChartEndToEnd(benchmark::State& state)
{
    const Measurement m;
    Chart chart;
    for (auto _ : state)
        applyChartPlot(chart.plot.get(), chart.graphs, m.build(), false);
}

void BM_ReplotAlone(benchmark::State& state)
{
    const Measurement m;
    Chart chart;
    applyChartPlot(chart.plot.get(), chart.graphs, m.build(), false);
    for (auto _ : state)
        chart.plot->replot();
}

// The spectrum window after a zoom of the main chart: the visible stretch of 240000 points
// changes, and the spectrum, the measurements and the chart's replot follow.
void BM_SpectrumWindowAfterZoom(benchmark::State& state)
{
    const Measurement m;
    SpectrumWindow w;
    w.resize(760, 520);
    w.show();
    QCoreApplication::processEvents();
    const double end = 240000 * m.data.SamplePeriod / 1000;
    w.setSignal(PlotSignal(m.data, {0, 1000, m.scale}), QStringLiteral("Напряжение, мВ"), {Qt::black},
                0, end);
    bool whole = false;
    for (auto _ : state) {
        // Alternately the whole record and nine tenths of it: every step is a new stretch.
        w.setRange(0, whole ? end : 0.9 * end);
        whole = !whole;
    }
}

// The spectrogram of 240000 points (1024-point segments, 50 %: 467 frames × 513 bins) put into
// the colour map and drawn, in dB as the window starts.
void BM_SpectrogramDrawn(benchmark::State& state)
{
    std::vector<double> y(FullChartSamples);
    for (int i = 0; i < FullChartSamples; ++i)
        y[size_t(i)] = 1500 * std::sin(i * 0.001 + 1e-8 * double(i) * i) + (i * 7919) % 31;
    const double rate = 1e6 * 14.7456 / 14.0;
    const Spectrogram g = ComputeSpectrogram(y, rate, Frames(WindowFunction::Hann, 1024, 50,
                                                                SpectrumScale::Amplitude, true));
    SpectrogramChart chart;
    chart.resize(800, 440);
    chart.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        chart.showSpectrogram({&g, 0.0, 1000.0, QStringLiteral("Частота, кГц"), QStringLiteral("дБ"), true});
        chart.replot();
    }
}

// The one-page report of a full record into a PDF file: the texts, the chart of 240000 points
// and the spectrum, both drawn through their vector pictures.
void BM_ReportPdf(benchmark::State& state)
{
    const Measurement m;
    Chart chart;
    applyChartPlot(chart.plot.get(), chart.graphs, m.build(), false);
    SpectrumWindow w;
    w.resize(760, 520);
    const double end = 240000 * m.data.SamplePeriod / 1000;
    w.setSignal(PlotSignal(m.data, {0, 1000, m.scale}), QStringLiteral("Напряжение, мВ"), {Qt::black},
                0, end);
    ReportRecord r;
    r.fileName = QStringLiteral("run.dtw");
    r.comment = QStringLiteral("стенд 2");
    const ReportText text = BuildReportText(r, w.analysis(), QDateTime::currentDateTime());
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("report.pdf")));
        benchmark::DoNotOptimize(printMeasurementReport(printer, text, chart.plot.get(), w.chart()));
    }
}

}  // namespace

BENCHMARK(BM_SpectrogramDrawn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryOfAFullChart)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyChartPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowChartEndToEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplotAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpectrumWindowAfterZoom)->Unit(benchmark::kMillisecond);

// Widgets need an application object, so this bench brings its own main.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
