#include "chartview/ChartLegend.h"

#include "chartview/ChartHeader.h"

#include <qcustomplot.h>

namespace korvel {

ChartLegend::ChartLegend(QCustomPlot* plot, ChartHeader* header, QList<QCPGraph*> graphs, NameOf nameOf)
    : QObject(plot), plot_(plot), header_(header), graphs_(std::move(graphs)), nameOf_(std::move(nameOf))
{
    connect(plot, &QCustomPlot::beforeReplot, this, [this] { sync(); });
}

void ChartLegend::setShown(bool shown)
{
    shown_ = shown;
    if (plot_)
        plot_->replot();
}

QStringList ChartLegend::entries() const
{
    return names_;
}

void ChartLegend::sync()
{
    std::vector<LegendEntry> now;
    names_.clear();
    if (shown_) {
        for (const QCPGraph* g : graphs_) {
            if (!g->visible() || g->dataCount() == 0)
                continue;
            const QString name = nameOf_(g);
            if (!name.isEmpty()) {
                now.push_back({name, g->pen().color()});
                names_ << name;
            }
        }
    }
    header_->setLegend(now);
}

}  // namespace korvel
