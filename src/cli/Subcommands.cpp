#include "cli/Subcommands.h"

namespace korvel::cli {

const std::vector<Subcommand>& Subcommands()
{
    static const std::vector<Subcommand> list = {
        {"measure", "одно измерение в одном из режимов и запись в файл", &RunMeasure},
        {"read", "ещё раз считать память платы и записать в файл (кнопка «Read»)", &RunRead},
        {"realtime", "запись режима «В реальном времени» в файл", &RunRealtime},
        {"temperature", "одно показание датчика температуры платы", &RunTemperature},
        {"ports", "последовательные порты и порт платы АЦП", &RunPorts},
        {"info", "заголовок, масштаб и комментарий файлов данных", &RunInfo},
        {"export", "текстовый файл точек из файлов данных", &RunExport},
        {"comments", "комментарии файлов данных папки и поиск в них", &RunComments},
        {"divisors", "делители платы для частоты или длительности (окно F/T)", &RunDivisors},
        {"plot", "график файла данных в PNG, SVG или PDF", &RunPlot},
        {"spectrum", "спектр сигнала файла данных: амплитуда, СКЗ, СПМ, полоса, пики", &RunSpectrum},
        {"stats", "измерения сигнала файла данных", &RunStats},
        {"spectrogram", "спектрограмма сигнала файла данных в PNG, SVG, CSV или NPY", &RunSpectrogram},
        {"report", "протокол измерения файла данных на одну страницу PDF", &RunReport},
        {"simulate", "модель платы АЦП на псевдотерминале", &RunSimulate},
    };
    return list;
}

}  // namespace korvel::cli
