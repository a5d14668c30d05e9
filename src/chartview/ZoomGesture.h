#pragma once
// The chart's zoom gesture: drag a rectangle with the left button from left to right and the
// chart zooms to it; drag toward the left and the axes go back to automatic. Every other
// change of the view (wheel, pan, keys, a step back) comes through here as well, so that each
// ends in the same two signals, and each is a step of the zoom history.

#include "chart/ZoomHistory.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QString>

class QCustomPlot;
class QRubberBand;

namespace korvel {

class ZoomGesture : public QObject {
    Q_OBJECT
public:
    // Watches the plot's mouse events without taking them, so the chart's own mouse signals
    // (the read-out follows mouseMove) still arrive. Keep the plot's range-drag interaction off.
    explicit ZoomGesture(QCustomPlot* plot);

    // For the chart's tool tip: how to zoom and how to undo.
    static QString toolTip();

    // True from a zoom until the next undo, or until the program fits the axes to new data.
    bool isZoomed() const { return zoomed_; }
    void axesFitted() { zoomed_ = false; }

    // Shorter drags in either direction are clicks and change nothing.
    static constexpr int MinimumDragPixels = 4;

    // The gesture's two outcomes, callable directly: every axis of the chart's axis rect is
    // set to the pixel rectangle (horizontal axes by its width, vertical ones by its height);
    // undo rescales them to the data. Each emits its signal and replots (the signal's handler
    // may replot instead).
    void zoomTo(const QRectF& pixelRect);
    void undoZoom();

    // The bottom, left and right axes' ranges as they stand.
    ViewRanges ranges() const;
    // What a step back returns to: the ranges when zoomed, the automatic axes otherwise.
    HistoryView currentView() const;
    // The one road of a user's change of the view: the axes take the ranges, the view before
    // goes into the history as `step` says, and zoomed() follows.
    void showView(const ViewRanges& view, ZoomHistory::Step step = ZoomHistory::Step::New);
    // Back to the view before the last step, through zoomed() or undoZoomed(); false when the
    // history is empty.
    bool stepBack();
    const ZoomHistory& history() const { return history_; }
    // New data: the views of the old have nothing to go back to.
    void clearHistory() { history_.clear(); }

signals:
    void zoomed();       // Chart1Zoom
    void undoZoomed();   // Chart1UndoZoom

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finishDrag(const QPoint& end);
    void applyView(const ViewRanges& view);
    void applyUndo();
    // Emits the signal, then replots unless its handler did.
    void announce(void (ZoomGesture::*signal)());

    QPointer<QCustomPlot> plot_;
    QRubberBand* band_ = nullptr;
    bool dragging_ = false;
    bool zoomed_ = false;
    QPoint start_;
    ZoomHistory history_;
    QElapsedTimer clock_;
    int replots_ = 0;
};

}  // namespace korvel
