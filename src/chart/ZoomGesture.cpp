#include "chart/ZoomGesture.h"

#include "chart/ChartFill.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdlib>

namespace korvel {

ZoomGesture::ZoomGesture(QCustomPlot* plot)
    : QObject(plot), plot_(plot)
{
    if (plot) {
        band_ = new QRubberBand(QRubberBand::Rectangle, plot);
        band_->hide();
        plot->installEventFilter(this);
    }
}

bool ZoomGesture::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != plot_ || !plot_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && plot_->axisRect()
            && plot_->axisRect()->rect().contains(e->position().toPoint())) {
            dragging_ = true;
            start_ = e->position().toPoint();
            band_->setGeometry(QRect(start_, QSize()));
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (dragging_) {
            band_->setGeometry(QRect(start_, e->position().toPoint()).normalized());
            band_->show();
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (dragging_ && e->button() == Qt::LeftButton) {
            dragging_ = false;
            band_->hide();
            finishDrag(e->position().toPoint());
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void ZoomGesture::finishDrag(const QPoint& end)
{
    const int dx = end.x() - start_.x();
    const int dy = end.y() - start_.y();
    if (dx <= -MinimumDragPixels) {
        undoZoom();
    } else if (dx >= MinimumDragPixels && std::abs(dy) >= MinimumDragPixels) {
        // The part of the rectangle outside the plotting area has no values to zoom to.
        const QRect inside = QRect(start_, end).normalized() & plot_->axisRect()->rect();
        if (inside.width() > 1 && inside.height() > 1)
            zoomTo(inside);
    }
}

void ZoomGesture::zoomTo(const QRect& pixelRect)
{
    if (!plot_ || !plot_->axisRect())
        return;
    const QList<QCPAxis*> axes = plot_->axisRect()->axes();
    for (QCPAxis* axis : axes) {
        double a = 0.0;
        double b = 0.0;
        if (axis->orientation() == Qt::Horizontal) {
            a = axis->pixelToCoord(pixelRect.left());
            b = axis->pixelToCoord(pixelRect.right());
        } else {
            a = axis->pixelToCoord(pixelRect.bottom());
            b = axis->pixelToCoord(pixelRect.top());
        }
        axis->setRange(std::min(a, b), std::max(a, b));
    }
    zoomed_ = true;
    plot_->replot();
    emit zoomed();
}

void ZoomGesture::undoZoom()
{
    if (!plot_)
        return;
    autoscaleAxes(plot_);
    zoomed_ = false;
    plot_->replot();
    emit undoZoomed();
}

}  // namespace korvel
