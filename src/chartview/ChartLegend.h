#pragma once
// The chart's legend: every visible trace with points, in its colour, under the name the owner
// gives it (the graphs' own names are their component names), in the strip above the
// plotting area.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QCustomPlot;
class QCPGraph;

namespace korvel {

class ChartHeader;
struct LegendEntry;

class ChartLegend : public QObject {
    Q_OBJECT
public:
    // An empty name keeps a graph out of the legend.
    using NameOf = std::function<QString(const QCPGraph*)>;

    // graphs: the traces the legend may list, in the order it lists them.
    ChartLegend(QCustomPlot* plot, ChartHeader* header, QList<QCPGraph*> graphs, NameOf nameOf);

    bool isShown() const { return shown_; }
    // Replots.
    void setShown(bool shown);
    // The names listed by the last replot.
    QStringList entries() const;

private:
    // The entries follow the traces before every replot.
    void sync();

    QPointer<QCustomPlot> plot_;
    ChartHeader* header_;
    QList<QCPGraph*> graphs_;
    NameOf nameOf_;
    bool shown_ = false;
    QStringList names_;
};

}  // namespace korvel
