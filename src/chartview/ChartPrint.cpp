#include "chartview/ChartPrint.h"

#include "chartview/ChartPicture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QPrinter>
#include <qcustomplot.h>

namespace korvel {

QRect upperHalfRect(const QPaintDevice& page)
{
    return QRect(0, 0, page.width() - 1, page.height() / 2);
}

void drawChartInto(QCustomPlot* plot, QPainter& painter, const QRect& target, QSize layout)
{
    if (!plot || target.isEmpty())
        return;
    const int w = std::max(1, layout.isEmpty() ? plot->width() : layout.width());
    const int h = std::max(1, layout.isEmpty() ? plot->height() : layout.height());
    // Through a vector drawing at the screen's resolution, scaled to the target: drawn straight
    // onto a printer, fonts would be sized for its resolution and then scaled a second time.
    QSvgRenderer renderer(renderChartSvg(plot, w, h));
    painter.save();
    painter.setClipRect(target);
    renderer.render(&painter, QRectF(target));
    painter.restore();
    // The recording laid the chart out for the picture; the screen gets its own layout back.
    plot->replot();
}

QString printChart(QCustomPlot* plot, QPrinter& printer, const QString& docName)
{
    if (!plot)
        return QStringLiteral("Нет графика для печати");
    printer.setDocName(docName);
    QPainter painter;
    if (!painter.begin(&printer)) {
        printer.abort();
        return QStringLiteral("Не удалось начать печать графика");
    }
    drawChartInto(plot, painter, upperHalfRect(printer));
    if (printer.printerState() == QPrinter::Error) {
        printer.abort();
        painter.end();
        return QStringLiteral("Ошибка при печати графика");
    }
    if (!painter.end())
        return QStringLiteral("Ошибка при печати графика");
    return {};
}

}  // namespace korvel
