#include "chartview/ChartPicture.h"

#include "chartview/ChartGeometry.h"
#include "text/NumberFormat.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <qcustomplot.h>

#include <vector>

namespace korvel {

namespace {

// White for the duration of a drawing, the chart's own colours again afterwards, even if the
// drawing is left early.
class WhiteBackground {
public:
    explicit WhiteBackground(QCustomPlot* plot) : plot_(plot)
    {
        colour_ = chartBackgroundColor(plot);
        setChartBackgroundColor(plot, Qt::white);
        const QList<QCPAxisRect*> rects = plot->axisRects();
        for (QCPAxisRect* r : rects) {
            if (r->backgroundBrush().style() != Qt::NoBrush) {
                rects_.push_back({r, r->backgroundBrush()});
                r->setBackground(QBrush(Qt::white));
            }
        }
    }
    ~WhiteBackground()
    {
        setChartBackgroundColor(plot_, colour_);
        for (const auto& [rect, brush] : rects_)
            rect->setBackground(brush);
    }
    WhiteBackground(const WhiteBackground&) = delete;
    WhiteBackground& operator=(const WhiteBackground&) = delete;

private:
    QCustomPlot* plot_;
    QColor colour_;
    std::vector<std::pair<QCPAxisRect*, QBrush>> rects_;
};

}  // namespace

ChartPicture renderChartPicture(QCustomPlot* plot)
{
    ChartPicture picture;
    if (!plot)
        return picture;
    const int w = std::max(1, plot->width());
    const int h = std::max(1, plot->height());
    {
        WhiteBackground white(plot);

        picture.svg = renderChartSvg(plot, w, h);

        picture.image = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        picture.image.fill(Qt::white);
        // The widget's resolution, so texts come out the size they have on screen.
        const int dotsPerMeter = static_cast<int>(Round(plot->logicalDpiX() / 0.0254));
        picture.image.setDotsPerMeterX(dotsPerMeter);
        picture.image.setDotsPerMeterY(dotsPerMeter);
        QCPPainter imagePainter(&picture.image);
        plot->toPainter(&imagePainter, w, h);
        imagePainter.end();
    }
    // The screen buffers still hold the chart's own colours; redraw them with the layout
    // the drawing above may have changed.
    plot->replot();
    return picture;
}

void copyChartToClipboard(QCustomPlot* plot, QClipboard* clipboard)
{
    if (!plot)
        return;
    if (!clipboard)
        clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    ChartPicture picture = renderChartPicture(plot);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(SvgMimeType), picture.svg);
    mime->setImageData(picture.image);
    clipboard->setMimeData(mime);
}

}  // namespace korvel
