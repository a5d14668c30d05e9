#pragma once
// The legend inside the plot: every visible trace with points, in its colour, under the name
// the owner gives it (the graphs' own names are their component names).

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QCustomPlot;
class QCPGraph;

namespace korvel {

class ChartLegend : public QObject {
    Q_OBJECT
public:
    // An empty name keeps a graph out of the legend.
    using NameOf = std::function<QString(const QCPGraph*)>;

    // graphs: the traces the legend may list, in the order it lists them.
    ChartLegend(QCustomPlot* plot, QList<QCPGraph*> graphs, NameOf nameOf);

    bool isShown() const { return shown_; }
    // Replots.
    void setShown(bool shown);
    // The texts of the entries as the last replot laid them out.
    QStringList entries() const;

private:
    // The entries follow the traces before every replot; rebuilt only when they changed.
    void sync();

    struct Entry {
        const QCPGraph* graph;
        QString name;
        QColor colour;
        bool operator==(const Entry&) const = default;
    };

    QPointer<QCustomPlot> plot_;
    QList<QCPGraph*> graphs_;
    NameOf nameOf_;
    bool shown_ = false;
    std::vector<Entry> entries_;
};

}  // namespace korvel
