#pragma once
// The main chart: a QCustomPlot with the window's six series in drawing order, the left axis
// for the signal and digital lines, and the red temperature axis on the right.

#include <qcustomplot.h>

namespace korvel {

class ChartHeader;
class ChartLegend;
class ChartNavigation;
class PlotCursors;
class ZoomGesture;

class ChartView : public QCustomPlot {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    QCPGraph* Series1() const { return series_[0]; }
    QCPGraph* SeriDgt3() const { return series_[1]; }
    QCPGraph* SeriDgt1() const { return series_[2]; }
    QCPGraph* SeriDgt2() const { return series_[3]; }
    QCPGraph* Series2() const { return series_[4]; }
    QCPGraph* SeriTermo() const { return series_[5]; }
    // The series of that name ("Series1", "SeriDgt1", ...), or null.
    QCPGraph* series(const QString& name) const;
    QList<QCPGraph*> allSeries() const { return {series_.begin(), series_.end()}; }

    QColor seriesColor(const QCPGraph* g) const { return g->pen().color(); }
    void setSeriesColor(QCPGraph* g, const QColor& c);

    QCPAxis* leftAxis() const { return yAxis; }
    QCPAxis* bottomAxis() const { return xAxis; }
    QCPAxis* rightAxis() const { return yAxis2; }

    // The rectangle zoom the user drags; its signals are Chart1Zoom and Chart1UndoZoom. The
    // wheel, the middle button and the keys change the view through it too.
    ZoomGesture* zoomGesture() const { return zoom_; }
    PlotCursors* cursors() const { return cursors_; }
    ChartLegend* chartLegend() const { return legend_; }
    // The strip above the plotting area with the cursors' read-out and the legend.
    ChartHeader* header() const { return header_; }

    // The legend's name of a trace: the signal by its axis title (channels X and Y of a
    // two-channel record), the digital lines by their contacts, the temperature.
    QString traceName(const QCPGraph* g) const;

private:
    std::array<QCPGraph*, 6> series_{};
    ZoomGesture* zoom_ = nullptr;
    ChartNavigation* navigation_ = nullptr;
    PlotCursors* cursors_ = nullptr;
    ChartLegend* legend_ = nullptr;
    ChartHeader* header_ = nullptr;
};

// Colours as the settings file keeps them: red in the low byte.
QColor ColorFromRef(int ref);
int RefFromColor(const QColor& c);

}  // namespace korvel
