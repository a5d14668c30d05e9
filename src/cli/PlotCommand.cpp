// korvel-cli plot FILE -o OUT.png|OUT.svg|OUT.pdf [--size WxH] [--display-mode 0..3]
//                [--unit us|ms|s] [--digital LIST]
// The chart of a data file drawn by the window's chart view, offscreen.

#include "chart/Scaling.h"
#include "chart/SeriesBuilder.h"
#include "chartview/ChartFill.h"
#include "chartview/ChartPicture.h"
#include "chartview/ChartPrint.h"
#include "chartview/ChartView.h"
#include "cli/CliSupport.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace korvel::cli {

namespace {

const QString Name = QStringLiteral("plot");

QString DrawInto(ChartView& view, const QString& out, int width, int height)
{
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return WriteFileAtomically(out, renderChartSvg(&view, width, height));
    if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(out);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("Cannot create file ") + out;
        drawChartInto(&view, painter, QRect(0, 0, pdf.width(), pdf.height()));
        painter.end();
        return QString();
    }
    const QImage image = view.toPixmap(width, height).toImage();
    return image.save(out, "PNG") ? QString() : QStringLiteral("Cannot create file ") + out;
}

}  // namespace

int RunPlot(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draw the chart of a data file."));
    AddSettingsOption(parser);
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Picture to write: .png, .svg or .pdf."), QStringLiteral("OUT")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Picture size in pixels."),
                      QStringLiteral("WxH"), QStringLiteral("794x515")});
    parser.addOption({QStringLiteral("display-mode"),
                      QStringLiteral("0 values/time, 1 ADC/samples, 2 values/samples, 3 ADC/time."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("unit"), QStringLiteral("X unit: us, ms or s."),
                      QStringLiteral("UNIT")});
    parser.addOption({QStringLiteral("digital"), QStringLiteral("Digital lines, e.g. 1,3 or none."),
                      QStringLiteral("LIST")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data file."));
    if (const int rc = ParseArguments(parser, arguments, Name); rc >= 0)
        return rc;
    const QString out = parser.value(QStringLiteral("o"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (parser.positionalArguments().size() != 1 || out.isEmpty() ||
        !QStringList{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")}.contains(suffix))
        return UsageError(Name, QStringLiteral("one FILE and -o OUT.png|OUT.svg|OUT.pdf"));
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"))
                                             .match(parser.value(QStringLiteral("size")));
    if (!size.hasMatch())
        return UsageError(Name, QStringLiteral("--size is WxH, for example 800x500"));
    const int width = size.captured(1).toInt();
    const int height = size.captured(2).toInt();

    const SettingsValues settings = SettingsFrom(parser);
    DisplayOptions options;
    options.displayMode = settings.cbShowK;
    options.cbDgt = {settings.cbDgt1, settings.cbDgt2, settings.cbDgt3};
    options.cbTermo = settings.cbTermo;
    int unitIndex = settings.cbXscale;
    if (parser.isSet(QStringLiteral("display-mode"))) {
        bool ok = false;
        options.displayMode = parser.value(QStringLiteral("display-mode")).toInt(&ok);
        if (!ok || options.displayMode < 0 || options.displayMode > 3)
            return UsageError(Name, QStringLiteral("--display-mode is 0, 1, 2 or 3"));
    }
    if (parser.isSet(QStringLiteral("unit"))) {
        unitIndex = QStringList{QStringLiteral("us"), QStringLiteral("ms"), QStringLiteral("s")}
                        .indexOf(parser.value(QStringLiteral("unit")));
        if (unitIndex < 0)
            return UsageError(Name, QStringLiteral("--unit is us, ms or s"));
    }
    if (parser.isSet(QStringLiteral("digital"))) {
        options.cbDgt = {};
        for (const QString& part : parser.value(QStringLiteral("digital")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int line = part.trimmed().toInt();
            if (line >= 1 && line <= 3)
                options.cbDgt[line - 1] = true;
            else if (part.trimmed() != QLatin1String("none"))
                return UsageError(Name, QStringLiteral("--digital lists lines 1, 2, 3 or none"));
        }
    }
    const XUnit unit = CalcScales(unitIndex, 1);
    options.XUnitFactor = unit.XUnitFactor;

    const DataFileLoadResult r = LoadDataFile(parser.positionalArguments().front());
    if (!r.file)
        return Failure(r.error->message);
    const LoadedDataFile& f = *r.file;
    // A loaded file is drawn with the coefficients it carries.
    const ScaleCoefficients scale{f.ScaleK, f.ScaleShift};
    ChartData data;
    data.SampleBuffer = f.SampleBuffer;
    data.DataKind = f.header.DataKind;
    data.ModeCommand = f.ModeCommand;
    data.SamplePeriod = f.header.SamplePeriod;
    const ChartPlot plot = BuildChartPlot(data, options, scale, ZoomState{});

    ChartView view;
    view.resize(width, height);
    const AxisTitles titles = AxisTitlesFor(options.displayMode, f.AxisYName, unit.XUnitName);
    view.leftAxis()->setLabel(titles.left);
    view.bottomAxis()->setLabel(titles.bottom);
    view.rightAxis()->setVisible(!plot.SeriTermo.isEmpty());
    applyChartPlot(&view, {view.Series1(), view.SeriDgt3(), view.SeriDgt1(), view.SeriDgt2(),
                           view.Series2(), view.SeriTermo()},
                   plot, false);
    const QString error = DrawInto(view, out, width, height);
    return error.isEmpty() ? ExitOk : Failure(error);
}

}  // namespace korvel::cli
