// korvel-cli spectrogram FILE [--segment N] [--overlap PCT] [--window W] [--db] [--scale S]
//                      [--from X --to X] [--display-mode M] [--channel x|y]
//                      -o OUT.png|.svg|.csv|.npy [--size WxH] [--json]
// Time × frequency of a data file's signal, as the window "Спектрограмма" draws it.

#include "chartview/SpectrogramChart.h"
#include "cli/ChartFile.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Printed.h"
#include "cli/FileSignal.h"
#include "cli/OutputFile.h"
#include "cli/SpectrumOptions.h"
#include "cli/Subcommands.h"
#include "files/OpenExport.h"
#include "spectrum/SignalAnalysis.h"
#include "spectrum/Spectrogram.h"

#include <QFileInfo>
#include <QTextStream>

namespace korvel::cli {

namespace {

// First column the frame's centre time, then one column per bin; one row per frame.
ExportTable frameTable(const Spectrogram& g, double startSeconds)
{
    ExportTable t;
    t.names << QStringLiteral("Время, с");
    t.columns.emplace_back(size_t(g.frames));
    for (int f = 0; f < g.frames; ++f)
        t.columns[0][size_t(f)] = startSeconds + g.timeOf(f);
    for (int k = 0; k < g.bins; ++k) {
        t.names << QString::fromLatin1(NumberText(g.frequencyOf(k)));
        std::vector<double> column(static_cast<size_t>(g.frames));
        for (int f = 0; f < g.frames; ++f)
            column[size_t(f)] = g.at(f, k);
        t.columns.push_back(std::move(column));
    }
    return t;
}

// Only the values: frames × bins.
ExportTable valueTable(ExportTable t)
{
    t.names.removeFirst();
    t.columns.erase(t.columns.begin());
    return t;
}

}  // namespace

int RunSpectrogram(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("spectrogram"), QStringLiteral("ФАЙЛ -o ВЫХОД [параметры]"),
        QStringLiteral(
            "Спектрограмма сигнала файла данных, как её рисует окно «Спектрограмма»: спектр "
            "каждого сегмента вдоль записи (или участка --from/--to), время центра сегмента в "
            "секундах от начала записи."));
    AddSignalOptions(cl);
    cl.addOption({QStringLiteral("segment"),
                  QStringLiteral("Точек в сегменте: от 256 до 65536 (по умолчанию 1024)."), QStringLiteral("N")});
    cl.addOption({QStringLiteral("overlap"),
                  QStringLiteral("Перекрытие сегментов в процентах: 0, 50 (по умолчанию) или 75."),
                  QStringLiteral("ПРОЦЕНТ")});
    cl.addOption({QStringLiteral("window"),
                  QStringLiteral("Оконная функция: hann (по умолчанию), rect или flattop."), QStringLiteral("ОКНО")});
    cl.addOption({QStringLiteral("scale"),
                  QStringLiteral("Шкала: amplitude (по умолчанию), rms, psd или asd, как у spectrum."),
                  QStringLiteral("ШКАЛА")});
    cl.addOption({QStringLiteral("db"), QStringLiteral("Значения в дБ.")});
    cl.addOption({QStringLiteral("channel"),
                  QStringLiteral("Канал двухканального файла акселерометра: x (по умолчанию) или y."),
                  QStringLiteral("КАНАЛ")});
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral(".png или .svg (рисунок окна), .csv (первая строка: «Время, с» и частоты "
                                 "отсчётов в Гц; затем по строке на сегмент: время его центра и значения) "
                                 "или .npy (float64, сегменты × отсчёты)."),
                  QStringLiteral("ВЫХОД")});
    AddPictureSizeOption(cl);
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Число сегментов и отсчётов, шаг по времени и разрешение в JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;

    SpectrogramOptions options;
    options.segment = cl.integer(QStringLiteral("segment"), MinimumSegment, MaximumSegment, 1024);
    options.overlapPercent = ReadOverlapOption(cl);
    options.window = ReadWindowOption(cl);
    options.scale = ReadScaleOption(cl);
    options.decibels = cl.isSet(QStringLiteral("db"));
    const int channel = cl.choice(QStringLiteral("channel"), {QStringLiteral("x"), QStringLiteral("y")}, 0);
    const QString out = cl.value(QStringLiteral("o"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (out.isEmpty() || !QStringList{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("csv"),
                                      QStringLiteral("npy")}.contains(suffix))
        cl.reject(QStringLiteral("нужен -o ВЫХОД.png|.svg|.csv|.npy"));
    const QSize size = PictureSize(cl);

    int rc = ExitOk;
    const std::optional<SignalInput> in = ReadSignalInput(cl, &rc);
    if (!in)
        return rc;
    const QString path = cl.positional().front();
    const OutputCheck check = CheckOutputPath(out, {path, SettingsPathFor(cl)});
    if (!check.ok()) {
        PrintedMessages::print(check.message);
        return check.exitCode;
    }
    const PlottedSignal& signal = in->signal;
    if (!(signal.samplePeriodSeconds > 0) || !std::isfinite(signal.samplePeriodSeconds))
        return Failure(QStringLiteral("%1: период выборки в заголовке не положительное конечное число — "
                                      "частоту выборки для спектрограммы не найти").arg(path));
    if (size_t(channel) >= signal.channels.size())
        return Failure(QStringLiteral("%1: в записи нет канала Y").arg(path));
    const PointSeries& points = signal.channels[size_t(channel)].points;
    const IndexRange range = PointsWithin(points, in->limits.from, in->limits.to);
    const Spectrogram g = ComputeSpectrogram(std::span(points.y.constData() + range.first, size_t(range.count)),
                                             1.0 / signal.samplePeriodSeconds, options);
    if (g.frames == 0)
        return Failure(QStringLiteral("Для спектрограммы нужно не меньше двух точек, на участке %1")
                           .arg(range.count));
    const double start = range.first * signal.samplePeriodSeconds;

    QString error;
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("npy")) {
        const ExportTable t = frameTable(g, start);
        error = WriteOutput(out, suffix == QLatin1String("csv") ? ToCsv(t) : ToNpy(valueTable(t)));
    } else {
        const SpectrogramAxes axes = SpectrogramAxesFor(1.0 / signal.samplePeriodSeconds, options.scale,
                                                        options.decibels, in->titles.left);
        SpectrogramChart chart;
        chart.resize(size);
        chart.showSpectrogram({&g, start, axes.frequency.hzPerUnit, axes.frequency.title, axes.levelTitle,
                               options.decibels});
        error = DrawChartFile(chart, out, size);
    }
    if (!error.isEmpty())
        return Failure(error);
    if (cl.isSet(QStringLiteral("json"))) {
        JsonFields j;
        j.add("frames", g.frames)
            .add("bins", g.bins)
            .add("time_step_s", g.timeStepS)
            .add("first_time_s", start + g.firstTimeS)
            .add("resolution_hz", g.resolutionHz)
            .add("segment", g.length)
            .add("overlap_percent", options.overlapPercent)
            .add("window", WindowWord(options.window))
            .add("scale", ScaleWord(options.scale))
            .add("db", options.decibels);
        QTextStream(stdout) << j.text() << '\n';
    }
    return ExitOk;
}

}  // namespace korvel::cli
