#pragma once
// A strip above a chart's plotting area for the cursors' read-out box (on the left) and the
// legend (on the right), so that neither covers a trace. It takes room only while it has
// something to show; the read-out's lines break and the legend's entries wrap to the width
// there is. It goes on the chart's pictures and printouts like the rest of the chart.

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <vector>

class QCustomPlot;
class QCPLayer;

namespace korvel {

class HeaderElement;

struct LegendEntry {
    QString name;
    QColor colour;
    bool operator==(const LegendEntry&) const = default;
};

class ChartHeader : public QObject {
    Q_OBJECT
public:
    explicit ChartHeader(QCustomPlot* plot);

    // Nothing (an empty list) takes the box or the legend away.
    void setReadout(const QStringList& lines);
    void setLegend(const std::vector<LegendEntry>& entries);
    // Drawn on this layer, so that a change of the read-out alone redraws it alone.
    void setLayer(QCPLayer* layer);

    // The read-out's lines as the box shows them, broken to its width.
    QStringList readoutLines() const;
    // Where the box and the legend were drawn by the last replot; empty when not shown.
    QRect readoutRect() const;
    QRect legendRect() const;
    // The strip is laid out for what it shows: redrawing its layer alone will do.
    bool isSettled() const;

private:
    void place();

    QPointer<QCustomPlot> plot_;
    HeaderElement* element_;
};

}  // namespace korvel
