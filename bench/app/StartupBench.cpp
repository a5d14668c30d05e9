// Start-up of the main window: creation with a settings file, shown and painted once; and the
// settings file alone (read, write).
#include "app/MainWindow.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "text/Messages.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_MainWindowToShown(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Korvel.ini"));
    korvel::RecordingMessages messages;
    {
        korvel::MainWindow first(path, messages);
        first.close();  // leaves a full settings file, as after a normal run
    }
    for (auto _ : state) {
        korvel::MainWindow w(path, messages);
        w.show();
        w.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.winId());
        state.PauseTiming();
        w.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowToShown)->Unit(benchmark::kMillisecond);

void BM_SettingsReadWrite(benchmark::State& state)
{
    korvel::IniFile seed;
    korvel::WriteSettings(korvel::SettingsValues{}, seed);
    const QByteArray bytes = seed.toBytes();
    for (auto _ : state) {
        korvel::IniFile ini = korvel::IniFile::fromBytes(bytes);
        korvel::SettingsValues v = korvel::ReadSettings(ini);
        korvel::WriteSettings(v, ini);
        benchmark::DoNotOptimize(ini.toBytes());
    }
}
BENCHMARK(BM_SettingsReadWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
