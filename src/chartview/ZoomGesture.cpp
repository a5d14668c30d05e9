#include "chartview/ZoomGesture.h"

#include "chartview/ChartFill.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdlib>

namespace korvel {

namespace {

QRect spanning(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// The plotting area in the pixels the axes' ends map to: a horizontal axis runs from left to
// left + width, a vertical one from bottom up to one row above the top.
QRectF mappedArea(const QCPAxisRect* r)
{
    return QRectF(QPointF(r->left(), r->top() - 1), QPointF(r->left() + r->width(), r->bottom()));
}

}  // namespace

ZoomGesture::ZoomGesture(QCustomPlot* plot)
    : QObject(plot), plot_(plot)
{
    if (plot) {
        band_ = new QRubberBand(QRubberBand::Rectangle, plot);
        band_->hide();
        plot->installEventFilter(this);
    }
}

QString ZoomGesture::toolTip()
{
    return QStringLiteral("Увеличить: выделите область левой кнопкой мыши слева направо.\n"
                          "Вернуть весь график: протяните мышь справа налево.");
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
            band_->setGeometry(spanning(start_, e->position().toPoint()));
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
        const QRectF dragged(QPointF(std::min(start_.x(), end.x()), std::min(start_.y(), end.y())),
                             QPointF(std::max(start_.x(), end.x()), std::max(start_.y(), end.y())));
        const QRectF inside = dragged & mappedArea(plot_->axisRect());
        if (inside.width() >= 1 && inside.height() >= 1)
            zoomTo(inside);
    }
}

void ZoomGesture::zoomTo(const QRectF& pixelRect)
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
