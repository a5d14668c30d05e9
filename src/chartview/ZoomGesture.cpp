#include "chartview/ZoomGesture.h"

#include "chartview/ChartFill.h"
#include "chartview/PlotInput.h"

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
        connect(plot, &QCustomPlot::afterReplot, this, [this] { ++replots_; });
    }
    clock_.start();
}

QString ZoomGesture::toolTip()
{
    return QStringLiteral("Увеличить: выделите область левой кнопкой мыши слева направо.\n"
                          "Вернуть весь график: протяните мышь справа налево.");
}

bool ZoomGesture::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsPlotInput(event) || watched != plot_ || !plot_)
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
    const auto span = [](const QCPAxis* axis, double a, double b) {
        const double u = axis->pixelToCoord(a);
        const double v = axis->pixelToCoord(b);
        return AxisSpan{std::min(u, v), std::max(u, v)};
    };
    const QCPAxisRect* r = plot_->axisRect();
    showView({span(r->axis(QCPAxis::atBottom), pixelRect.left(), pixelRect.right()),
              span(r->axis(QCPAxis::atLeft), pixelRect.bottom(), pixelRect.top()),
              span(r->axis(QCPAxis::atRight), pixelRect.bottom(), pixelRect.top())});
}

void ZoomGesture::undoZoom()
{
    if (!plot_)
        return;
    history_.record(currentView(), ZoomHistory::Step::New, clock_.elapsed());
    applyUndo();
}

ViewRanges ZoomGesture::ranges() const
{
    if (!plot_ || !plot_->axisRect())
        return {};
    const auto span = [this](QCPAxis::AxisType type) {
        const QCPRange r = plot_->axisRect()->axis(type)->range();
        return AxisSpan{r.lower, r.upper};
    };
    return {span(QCPAxis::atBottom), span(QCPAxis::atLeft), span(QCPAxis::atRight)};
}

HistoryView ZoomGesture::currentView() const
{
    return zoomed_ ? HistoryView(ranges()) : std::nullopt;
}

void ZoomGesture::showView(const ViewRanges& view, ZoomHistory::Step step)
{
    if (!plot_ || !plot_->axisRect())
        return;
    history_.record(currentView(), step, clock_.elapsed());
    applyView(view);
}

bool ZoomGesture::stepBack()
{
    const std::optional<HistoryView> before = history_.back();
    if (!before)
        return false;
    if (*before)
        applyView(**before);
    else
        applyUndo();
    return true;
}

void ZoomGesture::applyView(const ViewRanges& view)
{
    QCPAxisRect* r = plot_->axisRect();
    const std::pair<QCPAxis::AxisType, AxisSpan> spans[] = {
        {QCPAxis::atBottom, view.bottom}, {QCPAxis::atLeft, view.left}, {QCPAxis::atRight, view.right}};
    for (const auto& [type, span] : spans)
        r->axis(type)->setRange(span.lower, span.upper);
    zoomed_ = true;
    announce(&ZoomGesture::zoomed);
}

void ZoomGesture::applyUndo()
{
    autoscaleAxes(plot_);
    zoomed_ = false;
    announce(&ZoomGesture::undoZoomed);
}

void ZoomGesture::announce(void (ZoomGesture::*signal)())
{
    // The handler of a zoom redraws the series when digital lines are shown; one replot then
    // does for both.
    const int before = replots_;
    emit(this->*signal)();
    if (plot_ && replots_ == before)
        plot_->replot();
}

}  // namespace korvel
