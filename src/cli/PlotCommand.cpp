// korvel-cli plot FILE -o OUT.png|OUT.svg|OUT.pdf [--size WxH] [--display-mode 0..3]
//                [--unit us|ms|s] [--digital LIST]
// The chart of a data file drawn by the window's chart view, offscreen.

#include "chart/Scaling.h"
#include "chart/SeriesBuilder.h"
#include "chartview/ChartFill.h"
#include "chartview/ChartView.h"
#include "cli/ChartFile.h"
#include "cli/FileSignal.h"
#include "cli/Options.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"

#include <QFileInfo>

namespace korvel::cli {

void FillFileChart(ChartView& view, const LoadedDataFile& f, const DisplayOptions& options,
                   const ScaleCoefficients& scale, const QString& XUnitName)
{
    const ChartPlot plot = BuildChartPlot(f.record, options, scale, ZoomState{});
    const AxisTitles titles = AxisTitlesFor(options.displayMode, f.AxisYName, XUnitName);
    view.leftAxis()->setLabel(titles.left);
    view.bottomAxis()->setLabel(titles.bottom);
    view.rightAxis()->setVisible(!plot.SeriTermo.isEmpty());
    applyChartPlot(&view, {view.Series1(), view.SeriDgt3(), view.SeriDgt1(), view.SeriDgt2(),
                           view.Series2(), view.SeriTermo()},
                   plot, false);
}

int RunPlot(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("plot"), QStringLiteral("ФАЙЛ -o ВЫХОД.png|ВЫХОД.svg|ВЫХОД.pdf [параметры]"),
                   QStringLiteral("График файла данных, нарисованный графиком окна без показа на "
                                  "экране. Файл рисуется с его масштабом; файл акселерометра масштаба "
                                  "не хранит и рисуется с масштабом из настроек, как в окне."));
    AddSettingsOption(cl);
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Рисунок: .png, .svg или .pdf."), QStringLiteral("ВЫХОД")});
    AddPictureSizeOption(cl);
    cl.addOption({QStringLiteral("display-mode"),
                  QStringLiteral("Оси: 0 значения/время, 1 единицы АЦП/выборки, 2 значения/выборки, "
                                 "3 единицы АЦП/время (по умолчанию из настроек)."),
                  QStringLiteral("N")});
    cl.addOption({QStringLiteral("unit"),
                  QStringLiteral("Единица времени по оси X: us, ms или s (по умолчанию из настроек)."),
                  QStringLiteral("ЕДИНИЦА")});
    cl.addOption({QStringLiteral("digital"),
                  QStringLiteral("Цифровые линии: например 1,3, или none."), QStringLiteral("СПИСОК")});
    cl.addPositional(QStringLiteral("ФАЙЛ"), QStringLiteral("Файл данных (*.dtw)."), QString());
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const QString out = cl.value(QStringLiteral("o"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (cl.positional().size() != 1 || out.isEmpty() ||
        !QStringList{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")}.contains(suffix))
        return cl.usageError(QStringLiteral("нужны один ФАЙЛ и -o ВЫХОД.png|ВЫХОД.svg|ВЫХОД.pdf"));
    const QSize size = PictureSize(cl);

    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings)
        return ExitFailure;
    DisplayOptions options;
    options.displayMode = cl.integer(QStringLiteral("display-mode"), 0, 3, settings->cbShowK);
    options.cbDgt = {settings->cbDgt1, settings->cbDgt2, settings->cbDgt3};
    options.cbTermo = settings->cbTermo;
    const int unitIndex = cl.choice(QStringLiteral("unit"),
                                    {QStringLiteral("us"), QStringLiteral("ms"), QStringLiteral("s")},
                                    settings->cbXscale);
    options.cbDgt = DigitalLinesOption(cl, options.cbDgt);
    if (cl.failed())
        return cl.usageError();
    const XUnit unit = CalcScales(unitIndex, 1);
    options.XUnitFactor = unit.XUnitFactor;

    const DataFileLoadResult r = LoadDataFile(cl.positional().front());
    if (!r.file)
        return Failure(r.error->message);
    const LoadedDataFile& f = *r.file;
    QString error;
    const std::optional<ScaleCoefficients> scale = ChartScaleOf(f, *settings, &error);
    if (!scale)
        return Failure(error);
    ChartView view;
    view.resize(size);
    FillFileChart(view, f, options, *scale, unit.XUnitName);
    error = DrawChartFile(view, out, size);
    return error.isEmpty() ? ExitOk : Failure(error);
}

}  // namespace korvel::cli
