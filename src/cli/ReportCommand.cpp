// korvel-cli report FILE -o REPORT.pdf [spectrum options] [--from X --to X] [--display-mode M]
// The one-page measurement report of a data file, as the spectrum window's "Протокол" prints it.

#include "chart/SeriesBuilder.h"
#include "chartview/ChartView.h"
#include "chartview/MeasurementReport.h"
#include "chartview/SpectrumChart.h"
#include "cli/ChartFile.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Printed.h"
#include "cli/FileSignal.h"
#include "cli/OutputFile.h"
#include "cli/SpectrumOptions.h"
#include "cli/Subcommands.h"
#include "spectrum/ReportText.h"

#include <QFileInfo>
#include <QPrinter>

namespace korvel::cli {

namespace {

// The window's chart and spectrum sizes: the page takes them as drawn on a screen.
constexpr QSize ChartSize(794, 515);
constexpr QSize SpectrumSize(760, 420);

}  // namespace

int RunReport(const QStringList& arguments)
{
    CommandLine cl(
        QStringLiteral("report"), QStringLiteral("ФАЙЛ -o ПРОТОКОЛ.pdf [параметры]"),
        QStringLiteral(
            "Протокол измерения на одну страницу PDF, как его печатает кнопка «Протокол» окна "
            "«Спектр»: имя файла, дата и время записи и составления, комментарий, масштаб, график, "
            "спектр с параметрами ниже, таблица измерений, СКЗ в полосе и список пиков."));
    AddSignalOptions(cl);
    AddSpectrumOptions(cl);
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Файл протокола .pdf."), QStringLiteral("ПРОТОКОЛ")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const AnalysisOptions options = ReadSpectrumOptions(cl);
    const QString out = cl.value(QStringLiteral("o"));
    if (out.isEmpty() || QFileInfo(out).suffix().toLower() != QLatin1String("pdf"))
        cl.reject(QStringLiteral("нужен -o ПРОТОКОЛ.pdf"));

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
    const SignalAnalysis a = AnalyseSignal(in->signal, in->limits.from, in->limits.to, options,
                                           in->titles.left);
    if (!CheckSampleRate(a, path))
        return ExitFailure;
    if (a.channels.empty() || a.channels.front().spectrum.amplitude.isEmpty())
        return Failure(QStringLiteral("Для спектра нужно не меньше двух точек, на участке %1")
                           .arg(a.channels.empty() ? 0 : a.channels.front().range.count));

    // The chart over the stretch reported, as a zoom of the window's chart would show it.
    ChartView chart;
    chart.resize(ChartSize);
    DisplayOptions view;
    view.displayMode = in->displayMode;
    view.XUnitFactor = in->unit.XUnitFactor;
    FillFileChart(chart, in->file, view, in->scale, in->unit.XUnitName);
    if (std::isfinite(in->limits.from) && in->limits.from < in->limits.to)
        chart.bottomAxis()->setRange(in->limits.from, in->limits.to);
    SpectrumChart spectrum;
    spectrum.resize(SpectrumSize);
    spectrum.showPlot(BuildSpectrumPlot(a), {Qt::black, Qt::blue});

    ReportRecord record;
    record.fileName = path;
    record.recorded = QFileInfo(path).lastModified();
    record.comment = in->file.comment;
    record.ScaleK = in->scale.ScaleK;
    record.ScaleShift = in->scale.ScaleShift;
    record.AxisXName = in->file.AxisXName;
    record.AxisYName = in->file.AxisYName;

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out);
    const QString error = printMeasurementReport(
        printer, BuildReportText(record, a, QDateTime::currentDateTime()), &chart, &spectrum);
    if (!error.isEmpty())
        return Failure(error);
    return ReportVibrationLimits(a) ? ExitOk : ExitFailure;
}

}  // namespace korvel::cli
