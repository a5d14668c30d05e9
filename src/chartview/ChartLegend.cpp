#include "chartview/ChartLegend.h"

#include <qcustomplot.h>

namespace korvel {

namespace {

// A short line in the trace's colour, then the name.
class TraceLegendItem : public QCPAbstractLegendItem {
public:
    TraceLegendItem(QCPLegend* legend, QString name, QColor colour)
        : QCPAbstractLegendItem(legend), name_(std::move(name)), colour_(std::move(colour))
    {
    }

protected:
    void draw(QCPPainter* painter) override
    {
        const QSize icon = mParentLegend->iconSize();
        painter->setFont(mFont);
        painter->setPen(QPen(mTextColor));
        const QRect text = painter->fontMetrics().boundingRect(0, 0, 0, icon.height(), Qt::TextDontClip, name_);
        const int height = std::max(text.height(), icon.height());
        painter->drawText(mRect.x() + icon.width() + mParentLegend->iconTextPadding(), mRect.y(),
                          text.width(), height, Qt::TextDontClip, name_);
        painter->setPen(QPen(colour_, 2));
        const int y = mRect.y() + height / 2;
        painter->drawLine(QLineF(mRect.x(), y, mRect.x() + icon.width(), y));
    }

    QSize minimumOuterSizeHint() const override
    {
        const QSize icon = mParentLegend->iconSize();
        const QRect text = QFontMetrics(mFont).boundingRect(0, 0, 0, icon.height(), Qt::TextDontClip, name_);
        return QSize(icon.width() + mParentLegend->iconTextPadding() + text.width() + mMargins.left()
                         + mMargins.right(),
                     std::max(text.height(), icon.height()) + mMargins.top() + mMargins.bottom());
    }

private:
    QString name_;
    QColor colour_;
};

}  // namespace

ChartLegend::ChartLegend(QCustomPlot* plot, QList<QCPGraph*> graphs, NameOf nameOf)
    : QObject(plot), plot_(plot), graphs_(std::move(graphs)), nameOf_(std::move(nameOf))
{
    plot->legend->setVisible(false);
    plot->legend->setIconSize(24, 12);
    plot->legend->setBrush(QBrush(QColor(255, 255, 255, 225)));
    plot->legend->setBorderPen(QPen(Qt::gray));
    // The graphs joined the legend by themselves when they were made; it lists only what it
    // is told.
    plot->setAutoAddPlottableToLegend(false);
    plot->legend->clearItems();
    connect(plot, &QCustomPlot::beforeReplot, this, [this] { sync(); });
}

void ChartLegend::setShown(bool shown)
{
    shown_ = shown;
    if (!plot_)
        return;
    plot_->legend->setVisible(shown);
    plot_->replot();
}

QStringList ChartLegend::entries() const
{
    QStringList out;
    if (shown_)
        for (const Entry& e : entries_)
            out << e.name;
    return out;
}

void ChartLegend::sync()
{
    if (!plot_ || !shown_)
        return;
    std::vector<Entry> now;
    for (const QCPGraph* g : graphs_) {
        if (!g->visible() || g->dataCount() == 0)
            continue;
        const QString name = nameOf_(g);
        if (!name.isEmpty())
            now.push_back({g, name, g->pen().color()});
    }
    if (now == entries_)
        return;
    entries_ = std::move(now);
    QCPLegend* legend = plot_->legend;
    legend->clearItems();
    for (const Entry& e : entries_)
        legend->addItem(new TraceLegendItem(legend, e.name, e.colour));
}

}  // namespace korvel
