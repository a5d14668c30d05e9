// Saving and loading an eight-block data file, in memory and through the disk.
#include "files/DataFile.h"
#include "files/DataFileIo.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

korvel::Recording eightBlocks()
{
    korvel::Recording r;
    r.BlockCount = 8;
    r.SampleBuffer = QByteArray(8 * korvel::BlockBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < r.SampleBuffer.size(); ++i)
        r.SampleBuffer[i] = char(i * 13);
    r.SamplePeriod = 21.0 / 14.7456;
    return r;
}

korvel::DataFileSaveInput notes()
{
    korvel::DataFileSaveInput in;
    in.ScaleK = 1.0;
    in.AxisXName = QStringLiteral("Время, мкс");
    in.comment = QStringLiteral("Измерение\r\nвторая строка");
    return in;
}

void BM_BuildDataFile(benchmark::State& state)
{
    const korvel::Recording r = eightBlocks();
    const korvel::DataFileSaveInput in = notes();
    for (auto _ : state)
        benchmark::DoNotOptimize(korvel::BuildDataFile(r, in));
}
BENCHMARK(BM_BuildDataFile)->Unit(benchmark::kMillisecond);

void BM_ParseDataFile(benchmark::State& state)
{
    const QByteArray bytes = korvel::BuildDataFile(eightBlocks(), notes()).output->bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvel::ParseDataFile(bytes, "b.dtw"));
}
BENCHMARK(BM_ParseDataFile)->Unit(benchmark::kMillisecond);

void BM_SaveDataFileToDisk(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.dtw");
    const korvel::Recording r = eightBlocks();
    const korvel::DataFileSaveInput in = notes();
    for (auto _ : state)
        benchmark::DoNotOptimize(korvel::SaveDataFile(path, r, in));
}
BENCHMARK(BM_SaveDataFileToDisk)->Unit(benchmark::kMillisecond);

void BM_LoadDataFileFromDisk(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.dtw");
    korvel::SaveDataFile(path, eightBlocks(), notes());
    for (auto _ : state)
        benchmark::DoNotOptimize(korvel::LoadDataFile(path));
}
BENCHMARK(BM_LoadDataFileFromDisk)->Unit(benchmark::kMillisecond);

}  // namespace
