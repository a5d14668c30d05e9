#pragma once
// Two vertical measurement cursors, A and B, over a chart, each standing on an index (a sample,
// a spectrum bin) and dragged with the left button when the mouse is within a few pixels of
// it, ahead of the chart's rectangle zoom; a read-out box with lines the owner writes, in the
// chart's header strip; optional marker lines (harmonics). All on a layer of their own, so a
// drag redraws them without the traces; they go on the chart's pictures and printouts.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>

class QCustomPlot;
class QCPItemLine;
class QCPItemText;
class QCPLayer;

namespace korvel {

class ChartHeader;

class PlotCursors : public QObject {
    Q_OBJECT
public:
    PlotCursors(QCustomPlot* plot, ChartHeader* header);

    // How X values map to the indexes the cursors stand on, and back.
    void setIndexing(std::function<qsizetype(double)> indexAt, std::function<double(qsizetype)> xOf);

    bool isShown() const { return shown_; }
    // Showing puts A and B at a third and two thirds of the plotting area's width.
    void setShown(bool shown);
    qsizetype indexA() const { return index_[0]; }
    qsizetype indexB() const { return index_[1]; }
    void setIndexes(qsizetype a, qsizetype b);

    void setReadout(const QStringList& lines);
    QStringList readout() const { return readout_; }
    void setMarkers(const QVector<double>& x);
    // The X of a cursor as drawn.
    double cursorX(int cursor) const;

    static constexpr int GrabPixels = 5;
    static const QColor ColourA;
    static const QColor ColourB;

    // Redraws the cursors' layer alone, or the chart when the read-out box changed its height.
    void redraw();

signals:
    // A cursor stands on another index, or the cursors were shown: the read-out is due.
    void moved();
    void shownChanged(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The cursor within GrabPixels of the pixel X, the nearer one; -1 when none.
    int cursorNear(double pixelX) const;
    void place();

    QPointer<QCustomPlot> plot_;
    QCPLayer* layer_ = nullptr;
    std::array<QCPItemLine*, 2> lines_{};
    std::array<QCPItemText*, 2> names_{};
    ChartHeader* header_;
    QList<QCPItemLine*> markers_;
    QVector<double> markerX_;
    std::function<qsizetype(double)> indexAt_;
    std::function<double(qsizetype)> xOf_;
    std::array<qsizetype, 2> index_{};
    QStringList readout_;
    bool shown_ = false;
    int dragging_ = -1;
};

}  // namespace korvel
