#pragma once
// The chart's zoom gesture: drag a rectangle with the left button from left to right and the
// chart zooms to it; drag toward the left and the axes go back to automatic.

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
    // undo rescales them to the data. Each replots and then emits its signal.
    void zoomTo(const QRectF& pixelRect);
    void undoZoom();

signals:
    void zoomed();       // Chart1Zoom
    void undoZoomed();   // Chart1UndoZoom

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finishDrag(const QPoint& end);

    QPointer<QCustomPlot> plot_;
    QRubberBand* band_ = nullptr;
    bool dragging_ = false;
    bool zoomed_ = false;
    QPoint start_;
};

}  // namespace korvel
