#include "chart/ChartPrint.h"

#include <QPicture>
#include <QPrinter>
#include <qcustomplot.h>

namespace korvel {

QRect upperHalfRect(const QPaintDevice& page)
{
    return QRect(0, 0, page.width() - 1, page.height() / 2);
}

void drawChartInto(QCustomPlot* plot, QPainter& painter, const QRect& target)
{
    if (!plot || target.isEmpty())
        return;
    const int w = std::max(1, plot->width());
    const int h = std::max(1, plot->height());
    // Recorded at the screen's resolution and replayed scaled: drawn straight onto a printer,
    // fonts would be sized for its resolution and then scaled a second time.
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        plot->toPainter(&recorder, w, h);
        recorder.end();
    }
    painter.save();
    painter.setClipRect(target);
    painter.translate(target.topLeft());
    painter.scale(static_cast<double>(target.width()) / w, static_cast<double>(target.height()) / h);
    painter.drawPicture(0, 0, picture);
    painter.restore();
    // The recording laid the chart out for the picture; the screen gets its own layout back.
    plot->replot();
}

QString printChart(QCustomPlot* plot, QPrinter& printer)
{
    if (!plot)
        return QStringLiteral("Нет графика для печати");
    printer.setDocName(QStringLiteral("Chart1"));
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
