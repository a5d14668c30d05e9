#include "cli/ChartFile.h"

#include "chartview/ChartPicture.h"
#include "chartview/ChartPrint.h"
#include "files/DataFileIo.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <qcustomplot.h>

namespace korvel::cli {

void AddPictureSizeOption(CommandLine& cl)
{
    cl.addOption({QStringLiteral("size"),
                  QStringLiteral("Размер рисунка в точках, ШИРИНАxВЫСОТА, каждая 10..20000 (по "
                                 "умолчанию 794x515)."),
                  QStringLiteral("ШxВ")});
}

QSize PictureSize(CommandLine& cl)
{
    if (!cl.isSet(QStringLiteral("size")))
        return {794, 515};
    const QStringList wh = cl.value(QStringLiteral("size")).split(QLatin1Char('x'));
    const auto side = [&](int i) { return wh.size() == 2 ? WholeNumber(wh[i]).value_or(0) : 0; };
    if (side(0) < 10 || side(1) < 10 || side(0) > 20000 || side(1) > 20000)
        cl.reject(QStringLiteral("--size «%1»: нужно ШИРИНАxВЫСОТА, каждая от 10 до 20000, "
                                 "например 800x500").arg(cl.value(QStringLiteral("size"))));
    return {int(side(0)), int(side(1))};
}

QString DrawChartFile(QCustomPlot& chart, const QString& out, QSize size)
{
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return WriteFileAtomically(out, renderChartSvg(&chart, size.width(), size.height()));
    // Drawn in memory and written as every other file is: whole or not at all, and a failure
    // says why.
    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(&drawn);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        drawChartInto(&chart, painter, QRect(0, 0, pdf.width(), pdf.height()));
    } else {
        chart.toPixmap(size.width(), size.height()).toImage().save(&drawn, "PNG");
    }
    return WriteFileAtomically(out, drawn.data());
}

}  // namespace korvel::cli
