// korvel-cli spectrum FILE [--window hann|rect|flattop] [--segment N] [--from X --to X] [--db]
//                   [--display-mode M] [-o OUT.txt|.csv|.png|.svg|.pdf | -o -] [--size WxH]
//                   [--json]
// The amplitude spectrum of a data file's signal as the window's spectrum shows it.

#include "chartview/SpectrumChart.h"
#include "cli/ChartFile.h"
#include "cli/FileSignal.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/OutputFile.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"
#include "files/OpenExport.h"
#include "spectrum/SignalAnalysis.h"

#include <QFileInfo>
#include <QTextStream>

namespace korvel::cli {

namespace {

// Frequency in Hz, then each channel's amplitude (or dB), one row per bin.
ExportTable spectrumTable(const SignalAnalysis& a, bool decibels, const QString& amplitudeName)
{
    ExportTable t;
    const qsizetype bins = a.channels.front().spectrum.amplitude.size();
    t.names << QStringLiteral("Частота, Гц");
    t.columns.emplace_back(size_t(bins));
    for (qsizetype k = 0; k < bins; ++k)
        t.columns[0][size_t(k)] = a.channels.front().spectrum.frequencyOf(int(k));
    for (size_t c = 0; c < a.channels.size(); ++c) {
        const QString channel = ChannelName(a, c);
        t.names << (decibels ? QStringLiteral("Амплитуда, дБ") : amplitudeName)
                       + (channel.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(channel));
        const QVector<double>& amplitude = a.channels[c].spectrum.amplitude;
        const QVector<double> values = decibels ? ToDecibels(amplitude) : amplitude;
        t.columns.emplace_back(values.begin(), values.end());
    }
    return t;
}

// Tab-separated numbers with a point, CR LF after every row.
QByteArray tabText(const ExportTable& t)
{
    QByteArray out;
    for (qsizetype i = 0; i < t.rows(); ++i) {
        for (size_t c = 0; c < t.columns.size(); ++c) {
            if (c > 0)
                out += '\t';
            out += NumberText(t.columns[c][size_t(i)]);
        }
        out += "\r\n";
    }
    return out;
}

// The spectrum's peak under "peak", or null when it has none.
JsonFields& addPeak(JsonFields& j, const Spectrum& s)
{
    if (!s.peak)
        return j.add("peak", QJsonValue());
    return j.add("peak", JsonFields()
                             .add("frequency_hz", s.peak->frequencyHz)
                             .add("amplitude", s.peak->amplitude));
}

QString json(const SignalAnalysis& a)
{
    const Spectrum& first = a.channels.front().spectrum;
    JsonFields j;
    j.add("sample_rate_hz", a.sampleRateHz)
        .add("bins", qsizetype(first.amplitude.size()))
        .add("resolution_hz", first.resolutionHz);
    if (a.channels.size() == 1)
        return addPeak(j, first).text();
    JsonFields channels;
    for (size_t c = 0; c < a.channels.size(); ++c) {
        JsonFields channel;
        channels.add(ChannelName(a, c), addPeak(channel, a.channels[c].spectrum));
    }
    return j.add("channels", channels).text();
}

}  // namespace

int RunSpectrum(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("spectrum"), QStringLiteral("ФАЙЛ [-o ВЫХОД] [параметры]"),
        QStringLiteral(
            "Амплитудный спектр сигнала файла данных, как его показывает окно «Спектр»: значения "
            "в режиме отображения (с масштабом файла; файл акселерометра — с масштабом из "
            "настроек), синус амплитуды A даёт A, наибольший пик выше 0 Гц уточнён между "
            "отсчётами. Без -o таблица выводится в стандартный вывод."));
    AddSignalOptions(cl);
    cl.addOption({QStringLiteral("window"),
                  QStringLiteral("Оконная функция: hann (по умолчанию), rect или flattop."),
                  QStringLiteral("ОКНО")});
    cl.addOption({QStringLiteral("segment"),
                  QStringLiteral("Усреднение по Уэлчу сегментами из N точек (от 256 до 65536, перекрытие "
                                 "50 %); без него — одно преобразование."),
                  QStringLiteral("N")});
    cl.addOption({QStringLiteral("db"), QStringLiteral("Амплитуда в дБ относительно 1 единицы.")});
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral(".txt (частота в Гц и амплитуда через табуляцию, CR LF), .csv, или "
                                 "график окна в .png, .svg, .pdf; «-» — таблица в стандартный вывод."),
                  QStringLiteral("ВЫХОД")});
    AddPictureSizeOption(cl);
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Частота выборки, число отсчётов, разрешение и пик в JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;

    SpectrumOptions options;
    options.window = std::array{WindowFunction::Hann, WindowFunction::Rectangular,
                                WindowFunction::FlatTop}[size_t(cl.choice(
        QStringLiteral("window"),
        {QStringLiteral("hann"), QStringLiteral("rect"), QStringLiteral("flattop")}, 0))];
    options.segment = cl.integer(QStringLiteral("segment"), MinimumSegment, MaximumSegment, 0);
    const QString out = cl.isSet(QStringLiteral("o")) ? cl.value(QStringLiteral("o"))
                                                       : QStringLiteral("-");
    const QString suffix = QFileInfo(out).suffix().toLower();
    const bool picture = QStringList{QStringLiteral("png"), QStringLiteral("svg"),
                                     QStringLiteral("pdf")}.contains(suffix);
    if (out != QLatin1String("-") && !picture && suffix != QLatin1String("txt")
        && suffix != QLatin1String("csv"))
        cl.reject(QStringLiteral("-o %1: нужен файл .txt, .csv, .png, .svg или .pdf, или «-»").arg(out));
    const QSize size = PictureSize(cl);
    const bool decibels = cl.isSet(QStringLiteral("db"));
    const bool toJson = cl.isSet(QStringLiteral("json"));

    int rc = ExitOk;
    const std::optional<SignalInput> in = ReadSignalInput(cl, &rc);
    if (!in)
        return rc;
    if (out != QLatin1String("-")) {
        const OutputCheck check = CheckOutputPath(out, {cl.positional().front(), SettingsPathFor(cl)});
        if (!check.ok()) {
            PrintedMessages::print(check.message);
            return check.exitCode;
        }
    }
    const SignalAnalysis a = AnalyseSignal(in->signal, in->limits.from, in->limits.to, options);
    if (a.channels.empty() || a.channels.front().spectrum.amplitude.isEmpty())
        return Failure(QStringLiteral("Для спектра нужно не меньше двух точек"));

    QString error;
    if (picture) {
        SpectrumChart chart;
        chart.resize(size);
        chart.showPlot(BuildSpectrumPlot(a, decibels, in->titles.left), {Qt::black, Qt::blue});
        error = DrawChartFile(chart, out, size);
    } else if (out != QLatin1String("-") || !toJson) {
        const ExportTable t = spectrumTable(a, decibels, in->titles.left);
        error = WriteOutput(out, suffix == QLatin1String("csv") ? ToCsv(t) : tabText(t));
    }
    if (!error.isEmpty())
        return Failure(error);
    if (toJson)
        QTextStream(stdout) << json(a) << '\n';
    return ExitOk;
}

}  // namespace korvel::cli
