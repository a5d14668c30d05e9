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
#include "text/NumberFormat.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

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
    CommandLine cl(QStringLiteral("plot"), QStringLiteral("ФАЙЛ -o ВЫХОД.png|ВЫХОД.svg|ВЫХОД.pdf [параметры]"),
                   QStringLiteral("График файла данных, нарисованный графиком окна без показа на "
                                  "экране. Файл рисуется с его масштабом; файл акселерометра масштаба "
                                  "не хранит и рисуется с масштабом из настроек, как в окне."));
    AddSettingsOption(cl);
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Рисунок: .png, .svg или .pdf."), QStringLiteral("ВЫХОД")});
    cl.addOption({QStringLiteral("size"),
                  QStringLiteral("Размер рисунка в точках, ШИРИНАxВЫСОТА, каждая 10..20000 (по "
                                 "умолчанию 794x515)."),
                  QStringLiteral("ШxВ")});
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
    int width = 794;
    int height = 515;
    if (cl.isSet(QStringLiteral("size"))) {
        const QStringList wh = cl.value(QStringLiteral("size")).split(QLatin1Char('x'));
        const auto side = [&](int i) { return wh.size() == 2 ? WholeNumber(wh[i]).value_or(0) : 0; };
        if (side(0) < 10 || side(1) < 10 || side(0) > 20000 || side(1) > 20000)
            cl.reject(QStringLiteral("--size «%1»: нужно ШИРИНАxВЫСОТА, каждая от 10 до 20000, "
                                     "например 800x500").arg(cl.value(QStringLiteral("size"))));
        width = int(side(0));
        height = int(side(1));
    }

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
    // A loaded file is drawn with the coefficients it carries; the accelerometer layout carries
    // none, and the window keeps the scaling in force from its settings.
    ScaleCoefficients scale{f.ScaleK, f.ScaleShift};
    if (f.header.Variant != VariantOrdinary) {
        try {
            scale = GetScaleParams(ScaleInputsFrom(*settings, unit.XUnitName)).coefficients;
        } catch (const ConversionError& e) {
            return Failure(e.message());
        }
    }
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
