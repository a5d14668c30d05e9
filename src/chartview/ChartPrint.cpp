#include "chartview/ChartPrint.h"

#include <QPainter>
#include <QPicture>
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
    // Recorded at the screen's resolution and scaled to the target: drawn straight onto a
    // printer, fonts would be sized for its resolution and then scaled a second time. A
    // recorded picture keeps the axis rectangle's clipping, which an SVG drawing loses (a
    // zoomed curve would cover the axes and their labels).
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmNonCosmetic);
        plot->toPainter(&recorder, w, h);
    }
    painter.save();
    painter.setClipRect(target);
    painter.translate(target.topLeft());
    // A picture plays back enlarged by the device's resolution over its own; that is undone.
    const QPaintDevice* device = painter.device();
    painter.scale(double(target.width()) / w * picture.logicalDpiX() / device->logicalDpiX(),
                  double(target.height()) / h * picture.logicalDpiY() / device->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
    // The recording laid the chart out for the picture; the screen gets its own layout back.
    plot->replot();
}

QString endPrintJob(QPrinter& printer, QPainter& painter, const QString& failure)
{
    if (printer.printerState() == QPrinter::Error) {
        printer.abort();
        painter.end();
        return failure;
    }
    if (!painter.end())
        return failure;
    return {};
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
    return endPrintJob(printer, painter, QStringLiteral("Ошибка при печати графика"));
}

}  // namespace korvel
