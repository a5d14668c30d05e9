// The open exports of a full 700 kHz array (240000 rows, time, signal, three digital lines):
// the table from the plotted signal, the format, and the file written.
#include "chart/PlottedSignal.h"
#include "files/DataFileIo.h"
#include "files/OpenExport.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cmath>
#include <limits>

using namespace korvel;

namespace {

PlottedSignal testSignal()
{
    Recording r;
    r.SampleBuffer.resize(480000);
    for (int i = 0; i < 240000; ++i) {
        const int reading = 2048 + static_cast<int>(1500 * std::sin(i * 0.001)) + (i * 7919) % 31;
        const quint16 lines = static_cast<quint16>(((i / 1000) & 1) << 13 | ((i / 3000) & 1) << 14);
        qToLittleEndian<quint16>(static_cast<quint16>(lines | (reading & 0x0FFF)),
                                 r.SampleBuffer.data() + 2 * i);
    }
    r.ModeCommand = QByteArray("\x12\x00\x00", 3);
    r.SamplePeriod = static_cast<double>(21.0L / 14.7456L);
    return PlotSignal(r, {0, 1000, {0.61, 2047}});
}

constexpr double All = std::numeric_limits<double>::infinity();

QByteArray exported(const PlottedSignal& s, int format)
{
    switch (format) {
    case 0: return ToCsv(BuildExportTable(s, -All, All, "Время, мс", "Напряжение, мВ"));
    case 1: return ToNpy(BuildExportTable(s, -All, All, "Время, мс", "Напряжение, мВ"));
    default: return ToWav(s, -All, All);
    }
}

void BM_OpenExport(benchmark::State& state)
{
    const PlottedSignal s = testSignal();
    for (auto _ : state)
        benchmark::DoNotOptimize(exported(s, int(state.range(0))).size());
}

// The same, then written atomically (the disk's flush included).
void BM_OpenExportToDisk(benchmark::State& state)
{
    const PlottedSignal s = testSignal();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteFileAtomically(path, exported(s, int(state.range(0)))));
}

}  // namespace

// 0 csv, 1 npy, 2 wav.
BENCHMARK(BM_OpenExport)->ArgName("csv0_npy1_wav2")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenExportToDisk)->ArgName("csv0_npy1_wav2")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
