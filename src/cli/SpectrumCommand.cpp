// korvel-cli spectrum FILE [--window hann|rect|flattop] [--segment N] [--from X --to X] [--db]
//                   [--display-mode M] [-o OUT.txt|.csv|.png|.svg] [--size WxH] [--json]
// The amplitude spectrum of a data file's signal as the window's spectrum shows it.

#include "chartview/ChartPicture.h"
#include "chartview/SpectrumChart.h"
#include "cli/CliSupport.h"
#include "cli/SignalInput.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"
#include "files/OpenExport.h"
#include "spectrum/SignalAnalysis.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace korvel::cli {

namespace {

const QString Name = QStringLiteral("spectrum");

// Frequency in Hz, then each channel's amplitude (or dB), one row per bin.
ExportTable spectrumTable(const SignalAnalysis& a, bool decibels, const QString& amplitudeName)
{
    ExportTable t;
    const qsizetype bins = a.channels.empty() ? 0 : a.channels.front().spectrum.amplitude.size();
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

QString peakJson(const Spectrum& s)
{
    if (!s.peak)
        return QStringLiteral("null");
    return QStringLiteral("{\"frequency_hz\":%1,\"amplitude\":%2}")
        .arg(JsonNumber(s.peak->frequencyHz), JsonNumber(s.peak->amplitude));
}

QString json(const SignalAnalysis& a)
{
    const Spectrum& first = a.channels.front().spectrum;
    QString j = QStringLiteral("{\"sample_rate_hz\":%1,\"bins\":%2,\"resolution_hz\":%3")
                    .arg(JsonNumber(a.sampleRateHz))
                    .arg(first.amplitude.size())
                    .arg(JsonNumber(first.resolutionHz));
    if (a.channels.size() == 1)
        return j + QStringLiteral(",\"peak\":") + peakJson(first) + '}';
    j += QStringLiteral(",\"channels\":{");
    for (size_t c = 0; c < a.channels.size(); ++c)
        j += QStringLiteral("%1%2:{\"peak\":%3}")
                 .arg(c ? QStringLiteral(",") : QString(), JsonString(ChannelName(a, c)),
                      peakJson(a.channels[c].spectrum));
    return j + QStringLiteral("}}");
}

QString drawInto(const QString& out, const SpectrumPlot& plot, int width, int height)
{
    SpectrumChart view;
    view.resize(width, height);
    view.showPlot(plot, {Qt::black, Qt::blue});
    if (QFileInfo(out).suffix().toLower() == QLatin1String("svg"))
        return WriteFileAtomically(out, renderChartSvg(&view, width, height));
    const QImage image = view.toPixmap(width, height).toImage();
    return image.save(out, "PNG") ? QString() : QStringLiteral("Cannot create file ") + out;
}

}  // namespace

int RunSpectrum(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The amplitude spectrum of a data file's signal."));
    AddSignalOptions(parser);
    parser.addOption({QStringLiteral("window"), QStringLiteral("Window: hann, rect or flattop."),
                      QStringLiteral("NAME"), QStringLiteral("hann")});
    parser.addOption({QStringLiteral("segment"),
                      QStringLiteral("Welch segments of N points (1024 ... 65536, a power of two)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("db"), QStringLiteral("Amplitudes in dB over 1 unit.")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Write .txt, .csv, .png or .svg."), QStringLiteral("OUT")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Picture size in pixels."),
                      QStringLiteral("WxH"), QStringLiteral("794x515")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print the rate, bins and peak as JSON.")});
    if (const int rc = ParseArguments(parser, arguments, Name); rc >= 0)
        return rc;

    SpectrumOptions options;
    const int window = QStringList{QStringLiteral("hann"), QStringLiteral("rect"), QStringLiteral("flattop")}
                           .indexOf(parser.value(QStringLiteral("window")));
    if (window < 0)
        return UsageError(Name, QStringLiteral("--window is hann, rect or flattop"));
    options.window = std::array{WindowFunction::Hann, WindowFunction::Rectangular,
                                WindowFunction::FlatTop}[size_t(window)];
    if (parser.isSet(QStringLiteral("segment"))) {
        bool ok = false;
        options.segment = parser.value(QStringLiteral("segment")).toInt(&ok);
        if (!ok || !IsSegmentLength(options.segment))
            return UsageError(Name, QStringLiteral("--segment is a power of two from 1024 to 65536"));
    }
    const QString out = parser.value(QStringLiteral("o"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (parser.isSet(QStringLiteral("o"))
        && !QStringList{QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("png"),
                        QStringLiteral("svg")}.contains(suffix))
        return UsageError(Name, QStringLiteral("-o names a .txt, .csv, .png or .svg file"));
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"))
                                             .match(parser.value(QStringLiteral("size")));
    if (!size.hasMatch())
        return UsageError(Name, QStringLiteral("--size is WxH, for example 800x500"));

    int rc = ExitOk;
    const std::optional<SignalInput> in = ReadSignalInput(parser, Name, &rc);
    if (!in)
        return rc;
    const SignalAnalysis a = AnalyseSignal(in->signal, in->from, in->to, options);
    if (a.channels.empty() || a.channels.front().spectrum.amplitude.isEmpty())
        return Failure(QStringLiteral("Для спектра нужно не меньше двух точек"));

    const bool decibels = parser.isSet(QStringLiteral("db"));
    QString error;
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg"))
        error = drawInto(out, BuildSpectrumPlot(a, decibels, in->titles.left),
                         size.captured(1).toInt(), size.captured(2).toInt());
    else if (!out.isEmpty()) {
        const ExportTable t = spectrumTable(a, decibels, in->titles.left);
        error = WriteFileAtomically(out, suffix == QLatin1String("csv") ? ToCsv(t) : tabText(t));
    }
    if (!error.isEmpty())
        return Failure(error);

    QTextStream stdOut(stdout);
    if (parser.isSet(QStringLiteral("json")))
        stdOut << json(a) << '\n';
    else if (out.isEmpty())
        stdOut << tabText(spectrumTable(a, decibels, in->titles.left));
    return ExitOk;
}

}  // namespace korvel::cli
