#include "chartview/ChartNavigation.h"

#include "chartview/PlotInput.h"
#include "chartview/ZoomGesture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <qcustomplot.h>

#include <cstdlib>

namespace korvel {

namespace {

constexpr double KeyShift = 0.1;   // of the visible width, per press of ← or →

double centreOf(AxisSpan s)
{
    return s.lower + s.width() / 2;
}

}  // namespace

ChartNavigation::ChartNavigation(QCustomPlot* plot, ZoomGesture* zoom)
    : QObject(plot), plot_(plot), zoom_(zoom)
{
    // After the zoom gesture, so that its filter sees the events this one lets through.
    plot->installEventFilter(this);
}

QString ChartNavigation::toolTip()
{
    return QStringLiteral("Колесо мыши: масштаб по времени (с Ctrl — по вертикали).\n"
                          "Средняя кнопка: сдвинуть график.\n"
                          "После щелчка по графику: ←/→ сдвиг, +/− масштаб, Home — весь график,\n"
                          "Backspace — предыдущий масштаб, C — курсоры.");
}

bool ChartNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsPlotInput(event) || watched != plot_ || !plot_)
        return false;
    switch (event->type()) {
    case QEvent::Wheel:
        return wheel(static_cast<QWheelEvent*>(event));
    case QEvent::KeyPress:
        return key(static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::MiddleButton
            && plot_->axisRect()->rect().contains(e->position().toPoint())) {
            panning_ = true;
            panMoved_ = false;
            panStart_ = e->position().toPoint();
            panFrom_ = zoom_->ranges();
            plot_->setCursor(Qt::ClosedHandCursor);
            return true;
        }
        if (e->button() == Qt::LeftButton) {
            leftHeld_ = true;
            leftPress_ = e->position().toPoint();
        }
        return false;
    }
    case QEvent::MouseMove:
        if (panning_) {
            pan(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::MiddleButton && panning_) {
            panning_ = false;
            plot_->unsetCursor();
            return true;
        }
        if (e->button() == Qt::LeftButton && leftHeld_) {
            leftHeld_ = false;
            const QPoint d = e->position().toPoint() - leftPress_;
            // A click, not a drag: the keys work on the chart from now on.
            if (std::abs(d.x()) < ZoomGesture::MinimumDragPixels
                && std::abs(d.y()) < ZoomGesture::MinimumDragPixels)
                plot_->setFocus(Qt::MouseFocusReason);
        }
        return false;
    }
    default:
        return false;
    }
}

bool ChartNavigation::wheel(QWheelEvent* e)
{
    if (!plot_->axisRect())
        return false;
    const int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
    if (delta == 0)
        return true;
    const double factor = WheelZoomFactor(delta);
    const QPointF at = e->position();
    ViewRanges v = zoom_->ranges();
    const QCPAxisRect* r = plot_->axisRect();
    if (e->modifiers() & Qt::ControlModifier) {
        // Each vertical axis about its own value at the mouse's height.
        const auto left = ZoomedAbout(v.left, r->axis(QCPAxis::atLeft)->pixelToCoord(at.y()), factor);
        const auto right = ZoomedAbout(v.right, r->axis(QCPAxis::atRight)->pixelToCoord(at.y()), factor);
        if (!left)
            return true;
        v.left = *left;
        if (right)
            v.right = *right;
    } else {
        const auto bottom = ZoomedAbout(v.bottom, r->axis(QCPAxis::atBottom)->pixelToCoord(at.x()), factor);
        if (!bottom)
            return true;
        v.bottom = *bottom;
    }
    zoom_->showView(v, ZoomHistory::Step::WheelNotch);
    return true;
}

void ChartNavigation::zoomBottomAbout(double about, double factor)
{
    ViewRanges v = zoom_->ranges();
    if (const auto bottom = ZoomedAbout(v.bottom, about, factor)) {
        v.bottom = *bottom;
        zoom_->showView(v);
    }
}

bool ChartNavigation::key(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    ViewRanges v = zoom_->ranges();
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        v.bottom = ShiftedBy(v.bottom, e->key() == Qt::Key_Left ? -KeyShift : KeyShift);
        zoom_->showView(v);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:   // + without Shift on most layouts
        zoomBottomAbout(centreOf(v.bottom), ZoomStep);
        return true;
    case Qt::Key_Minus:
        zoomBottomAbout(centreOf(v.bottom), 1 / ZoomStep);
        return true;
    case Qt::Key_Home:
        zoom_->undoZoom();
        return true;
    case Qt::Key_Backspace:
        zoom_->stepBack();
        return true;
    default:
        return false;
    }
}

void ChartNavigation::pan(QPoint to)
{
    const QRect area = plot_->axisRect()->rect();
    const QPoint d = to - panStart_;
    ViewRanges v = panFrom_;
    v.bottom = DraggedBy(panFrom_.bottom, d.x(), area.width());
    // Screen rows grow downward, values upward.
    v.left = DraggedBy(panFrom_.left, -d.y(), area.height());
    v.right = DraggedBy(panFrom_.right, -d.y(), area.height());
    zoom_->showView(v, panMoved_ ? ZoomHistory::Step::Continued : ZoomHistory::Step::New);
    panMoved_ = true;
}

}  // namespace korvel
