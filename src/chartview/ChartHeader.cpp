#include "chartview/ChartHeader.h"

#include "chart/HeaderLayout.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr int Padding = 4;       // inside the box and the legend's frame
constexpr int IconWidth = 24;    // the legend's line in the trace's colour
constexpr int IconGap = 5;
constexpr int EntryGap = 14;
constexpr int BlockGap = 16;     // between the box and the legend
const QColor Frame(Qt::gray);

}  // namespace

// The strip itself: one row of the chart's layout, above the axis rect.
class HeaderElement : public QCPLayoutElement {
public:
    explicit HeaderElement(QCustomPlot* plot) : QCPLayoutElement(plot) { setMargins({0, 4, 0, 2}); }

    QStringList readout;
    std::vector<LegendEntry> legend;
    // Where the last draw put them.
    QRect drawnBox;
    QRect drawnLegend;

    struct Plan {
        QStringList lines;
        double boxWidth = 0.0;       // the widest line
        std::vector<int> rows;       // legend entries a row
        double legendWidth = 0.0;    // the widest row
        int height = 0;
    };

    Plan plan() const
    {
        Plan p;
        const QFontMetricsF fm(mParentPlot->font());
        const auto widthOf = [&](const QString& s) { return fm.horizontalAdvance(s); };
        // The plotting area's width at the chart's present size: the margins of the last layout
        // stay as they were.
        const QCPAxisRect* r = mParentPlot->axisRect();
        const double available = r->outerRect().isEmpty()
                                     ? mParentPlot->viewport().width()
                                     : r->rect().width() + mParentPlot->viewport().width() - r->outerRect().width();
        std::vector<double> entryWidths;
        for (const LegendEntry& e : legend)
            entryWidths.push_back(IconWidth + IconGap + widthOf(e.name));
        const double narrowestLegend =
            entryWidths.empty() ? 0.0 : *std::max_element(entryWidths.begin(), entryWidths.end()) + 2 * Padding;

        if (!readout.isEmpty()) {
            const double room = available - 2 * Padding - (legend.empty() ? 0.0 : narrowestLegend + BlockGap);
            p.lines = WrapReadout(readout, room, widthOf);
            for (const QString& line : p.lines)
                p.boxWidth = std::max(p.boxWidth, widthOf(line));
        }
        if (!legend.empty()) {
            const double used = readout.isEmpty() ? 0.0 : p.boxWidth + 2 * Padding + BlockGap;
            p.rows = LegendRows(entryWidths, available - used - 2 * Padding, EntryGap);
            size_t next = 0;
            for (const int n : p.rows) {
                double w = 0.0;
                for (int i = 0; i < n; ++i, ++next)
                    w += entryWidths[next] + (i > 0 ? EntryGap : 0);
                p.legendWidth = std::max(p.legendWidth, w);
            }
        }
        const double lineHeight = fm.height();
        const auto tall = [&](size_t n) { return n == 0 ? 0 : int(std::ceil(n * lineHeight)) + 2 * Padding; };
        p.height = std::max(tall(size_t(p.lines.size())), tall(p.rows.size()));
        return p;
    }

    QSize minimumOuterSizeHint() const override
    {
        return {0, plan().height + mMargins.top() + mMargins.bottom()};
    }
    QSize maximumOuterSizeHint() const override
    {
        return {QWIDGETSIZE_MAX, minimumOuterSizeHint().height()};
    }

protected:
    void draw(QCPPainter* painter) override
    {
        const Plan p = plan();
        const QFontMetricsF fm(mParentPlot->font());
        const double lineHeight = fm.height();
        const QRect area = mParentPlot->axisRect()->rect();
        painter->setFont(mParentPlot->font());
        const auto frame = [&](const QRectF& r) {
            painter->setPen(QPen(Frame));
            painter->setBrush(Qt::white);
            painter->drawRect(r);
        };
        drawnBox = {};
        drawnLegend = {};
        if (!p.lines.isEmpty()) {
            const QRectF box(area.left(), mRect.top(), p.boxWidth + 2 * Padding, p.height);
            frame(box);
            painter->setPen(QPen(Qt::black));
            for (qsizetype i = 0; i < p.lines.size(); ++i)
                painter->drawText(QPointF(box.left() + Padding, box.top() + Padding + fm.ascent() + i * lineHeight),
                                  p.lines[i]);
            drawnBox = box.toAlignedRect();
        }
        if (!p.rows.empty()) {
            const double width = p.legendWidth + 2 * Padding;
            const QRectF block(area.right() + 1 - width, mRect.top(), width, p.rows.size() * lineHeight + 2 * Padding);
            frame(block);
            size_t next = 0;
            for (size_t row = 0; row < p.rows.size(); ++row) {
                double x = block.left() + Padding;
                const double top = block.top() + Padding + row * lineHeight;
                for (int i = 0; i < p.rows[row]; ++i, ++next) {
                    const LegendEntry& e = legend[next];
                    painter->setPen(QPen(e.colour, 2));
                    painter->drawLine(QLineF(x, top + lineHeight / 2, x + IconWidth, top + lineHeight / 2));
                    painter->setPen(QPen(Qt::black));
                    painter->drawText(QPointF(x + IconWidth + IconGap, top + fm.ascent()), e.name);
                    x += IconWidth + IconGap + fm.horizontalAdvance(e.name) + EntryGap;
                }
            }
            drawnLegend = block.toAlignedRect();
        }
    }
};

ChartHeader::ChartHeader(QCustomPlot* plot) : QObject(plot), plot_(plot), element_(new HeaderElement(plot))
{
    element_->setVisible(false);
}

void ChartHeader::setReadout(const QStringList& lines)
{
    element_->readout = lines;
    place();
}

void ChartHeader::setLegend(const std::vector<LegendEntry>& entries)
{
    element_->legend = entries;
    place();
}

void ChartHeader::setLayer(QCPLayer* layer)
{
    element_->setLayer(layer);
}

QStringList ChartHeader::readoutLines() const
{
    return element_->readout.isEmpty() ? QStringList() : element_->plan().lines;
}

QRect ChartHeader::readoutRect() const
{
    return element_->visible() ? element_->drawnBox : QRect();
}

QRect ChartHeader::legendRect() const
{
    return element_->visible() ? element_->drawnLegend : QRect();
}

bool ChartHeader::isSettled() const
{
    const bool wanted = !element_->readout.isEmpty() || !element_->legend.empty();
    return wanted == (element_->layout() != nullptr)
           && (!wanted || element_->minimumOuterSizeHint().height() == element_->outerRect().height());
}

void ChartHeader::place()
{
    if (!plot_)
        return;
    const bool wanted = !element_->readout.isEmpty() || !element_->legend.empty();
    QCPLayoutGrid* layout = plot_->plotLayout();
    const bool present = element_->layout() != nullptr;
    if (wanted && !present) {
        layout->insertRow(0);
        layout->addElement(0, 0, element_);
    } else if (!wanted && present) {
        layout->take(element_);
        layout->simplify();
    }
    // Out of the layout it keeps the place it had; drawn there it would cover the chart.
    element_->setVisible(wanted);
}

}  // namespace korvel
