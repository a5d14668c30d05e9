// korvel-cli spectrum FILE [--window hann|rect|flattop] [--segment N] [--overlap PCT]
//                   [--average mean|peak] [--scale amplitude|rms|psd|asd] [--db]
//                   [--integrate velocity|displacement] [--low-cut HZ] [--band F1:F2] [--peaks N]
//                   [--from X --to X] [--display-mode M]
//                   [-o OUT.txt|.csv|.png|.svg|.pdf | -o -] [--size WxH] [--json]
// The spectrum of a data file's signal as the window's spectrum shows it.

#include "chartview/SpectrumChart.h"
#include "cli/ChartFile.h"
#include "cli/FileSignal.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/OutputFile.h"
#include "cli/Printed.h"
#include "cli/SpectrumOptions.h"
#include "cli/Subcommands.h"
#include "files/OpenExport.h"
#include "spectrum/SignalAnalysis.h"

#include <QFileInfo>
#include <QTextStream>

namespace korvel::cli {

namespace {

// "СКЗ скорости 10–1000 Гц, мм/с: 0.0123" for the header of a table; empty without a band.
QString bandHeading(const SignalAnalysis& a, size_t channel)
{
    const std::optional<MeasurementRow> row = BandRow(a);
    if (!row)
        return QString();
    const std::optional<BandRms>& b = a.channels[channel].band;
    const QString value = b && b->reached ? QString::fromLatin1(NumberText(b->rms)) : QStringLiteral("нет данных");
    return row->caption + QStringLiteral(": ") + value;
}

// Frequency in Hz, then each channel's value in the scale (or dB), one row per bin.
ExportTable spectrumTable(const SignalAnalysis& a)
{
    ExportTable t;
    const qsizetype bins = a.channels.front().spectrum.amplitude.size();
    t.names << QStringLiteral("Частота, Гц");
    t.columns.emplace_back(size_t(bins));
    for (qsizetype k = 0; k < bins; ++k)
        t.columns[0][size_t(k)] = a.channels.front().spectrum.frequencyOf(int(k));
    for (size_t c = 0; c < a.channels.size(); ++c) {
        const QString channel = ChannelName(a, c);
        const QString band = bandHeading(a, c);
        t.names << ValueTitle(a) + (channel.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(channel))
                       + (band.isEmpty() ? QString() : QStringLiteral("; ") + band);
        std::vector<double> values(static_cast<size_t>(bins));
        for (qsizetype k = 0; k < bins; ++k)
            values[size_t(k)] = ShownValue(a, c, int(k));
        t.columns.push_back(std::move(values));
    }
    return t;
}

// Tab-separated numbers with a point, CR LF after every row; a band's RMS first, as the text
// export writes its header lines ("value<TAB>;what").
QByteArray tabText(const SignalAnalysis& a, const ExportTable& t)
{
    QByteArray out;
    for (size_t c = 0; c < a.channels.size(); ++c)
        if (const QString band = bandHeading(a, c); !band.isEmpty()) {
            const std::optional<BandRms>& b = a.channels[c].band;
            const QString channel = ChannelName(a, c);
            out += (b && b->reached ? NumberText(b->rms) : QByteArray("-")) + "\t;"
                   + BandRow(a)->caption.toUtf8()
                   + (channel.isEmpty() ? QByteArray() : QByteArray(" (") + channel.toUtf8() + ')') + "\r\n";
        }
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

}  // namespace

int RunSpectrum(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("spectrum"), QStringLiteral("ФАЙЛ [-o ВЫХОД] [параметры]"),
        QStringLiteral(
            "Спектр сигнала файла данных, как его показывает окно «Спектр»: значения в режиме "
            "отображения (с масштабом файла; файл акселерометра — с масштабом из настроек), "
            "односторонний, в выбранной шкале; наибольший пик выше 0 Гц уточнён между отсчётами. "
            "Без -o таблица выводится в стандартный вывод."));
    AddSignalOptions(cl);
    AddSpectrumOptions(cl);
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral(".txt (частота в Гц и значение через табуляцию, CR LF), .csv, или "
                                 "график окна в .png, .svg, .pdf; «-» — таблица в стандартный вывод."),
                  QStringLiteral("ВЫХОД")});
    AddPictureSizeOption(cl);
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Частота выборки, число отсчётов, разрешение, окно, сегмент, перекрытие, "
                                 "число усреднений, шкала, единица, пик, список пиков и полоса в JSON.")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;

    const AnalysisOptions options = ReadSpectrumOptions(cl);
    const QString out = cl.isSet(QStringLiteral("o")) ? cl.value(QStringLiteral("o"))
                                                       : QStringLiteral("-");
    const QString suffix = QFileInfo(out).suffix().toLower();
    const bool picture = QStringList{QStringLiteral("png"), QStringLiteral("svg"),
                                     QStringLiteral("pdf")}.contains(suffix);
    if (out != QLatin1String("-") && !picture && suffix != QLatin1String("txt")
        && suffix != QLatin1String("csv"))
        cl.reject(QStringLiteral("-o %1: нужен файл .txt, .csv, .png, .svg или .pdf, или «-»").arg(out));
    const QSize size = PictureSize(cl);
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
    const SignalAnalysis a = AnalyseSignal(in->signal, in->limits.from, in->limits.to, options,
                                           in->titles.left);
    if (!CheckSampleRate(a, cl.positional().front()))
        return ExitFailure;
    if (a.channels.empty() || a.channels.front().spectrum.amplitude.isEmpty())
        return Failure(QStringLiteral("Для спектра нужно не меньше двух точек, на участке %1")
                           .arg(a.channels.empty() ? 0 : a.channels.front().range.count));

    QString error;
    if (picture) {
        SpectrumChart chart;
        chart.resize(size);
        chart.showPlot(BuildSpectrumPlot(a), {Qt::black, Qt::blue});
        error = DrawChartFile(chart, out, size);
    } else if (out != QLatin1String("-") || !toJson) {
        const ExportTable t = spectrumTable(a);
        error = WriteOutput(out, suffix == QLatin1String("csv") ? ToCsv(t) : tabText(a, t));
    }
    if (!error.isEmpty())
        return Failure(error);
    if (toJson)
        QTextStream(stdout) << AnalysisJson(a).text() << '\n';
    return ReportVibrationLimits(a) ? ExitOk : ExitFailure;
}

}  // namespace korvel::cli
