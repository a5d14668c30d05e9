#pragma once
// Looking round the main chart without the rectangle: the wheel zooms the time axis about the
// mouse (with Ctrl the vertical axes), the middle button drags the view, and while the chart
// has the keyboard focus ←/→ move the view by a tenth, +/− zoom about the centre, Home goes
// back to the automatic axes and Backspace one step back. A left click without a drag gives
// the chart the focus. Every change goes through the zoom gesture, as its own do.

#include "chart/ViewRanges.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class QCustomPlot;
class QKeyEvent;
class QWheelEvent;

namespace korvel {

class ZoomGesture;

class ChartNavigation : public QObject {
    Q_OBJECT
public:
    ChartNavigation(QCustomPlot* plot, ZoomGesture* zoom);

    // For the chart's tool tip.
    static QString toolTip();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wheel(QWheelEvent* e);
    bool key(QKeyEvent* e);
    void pan(QPoint to);
    void zoomBottomAbout(double about, double factor);

    QPointer<QCustomPlot> plot_;
    ZoomGesture* zoom_;
    bool panning_ = false;
    bool panMoved_ = false;
    QPoint panStart_;
    ViewRanges panFrom_;
    QPoint leftPress_;
    bool leftHeld_ = false;
};

}  // namespace korvel
