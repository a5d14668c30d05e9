// The series builder on a full 700 kHz array: 240000 samples, three digital lines, smoothing.
#include "chart/SeriesBuilder.h"

#include <QByteArray>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace korvel;

namespace {

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

void BM_OrdinaryPlot(benchmark::State& state)
{
    const QByteArray buffer = testSignal(static_cast<int>(state.range(0)));
    const QByteArray command("\x12\x00\x00", 3);
    Recording d;
    d.SampleBuffer = buffer;
    d.ModeCommand = command;
    d.SamplePeriod = static_cast<double>(14.0L / 14.7456L);
    DisplayOptions o;
    o.displayMode = 0;
    o.XUnitFactor = 1000;
    o.cbInt = true;
    o.seInt = 8;
    o.cbDgt = {true, true, true};
    const ScaleCoefficients s{0.61, 2047};
    for (auto _ : state) {
        ChartPlot p = BuildChartPlot(d, o, s, {});
        benchmark::DoNotOptimize(p.Series1.y.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_OrdinaryPlot)->Arg(240000)->Unit(benchmark::kMillisecond);
