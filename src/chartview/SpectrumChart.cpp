#include "chartview/SpectrumChart.h"

#include "chartview/ChartFill.h"
#include "chartview/ReadableAxisTicker.h"
#include "chartview/ZoomGesture.h"

#include <algorithm>

namespace korvel {

namespace {

// Below this the floor of the dB scale is noise of the arithmetic, not of the signal.
constexpr double ShownDecibels = 160.0;

}  // namespace

SpectrumChart::SpectrumChart(QWidget* parent) : QCustomPlot(parent)
{
    setNoAntialiasingOnDrag(true);
    legend->setVisible(false);
    for (int c = 0; c < 2; ++c) {
        QCPGraph* g = addGraph();
        g->setAdaptiveSampling(true);
        traces_ << g;
        QCPGraph* m = addGraph();
        m->setLineStyle(QCPGraph::lsNone);
        m->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::red, 9));
        markers_ << m;
        // The peak texts stand in the upper right corner, one line per channel, so that two
        // close peaks do not write over each other.
        auto* label = new QCPItemText(this);
        label->position->setType(QCPItemPosition::ptAxisRectRatio);
        label->position->setCoords(0.99, 0.02 + 0.07 * c);
        label->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
        label->setBrush(QBrush(Qt::white));
        label->setPadding(QMargins(4, 2, 4, 2));
        label->setVisible(false);
        labels_ << label;
    }
    xAxis->setLabel(QStringLiteral("Частота, Гц"));
    useReadableTicks(xAxis);
    useReadableTicks(yAxis);
    zoom_ = new ZoomGesture(this);
    setToolTip(ZoomGesture::toolTip() + QStringLiteral("\nКолесо мыши: масштаб по частоте."));
    connect(zoom_, &ZoomGesture::undoZoomed, this, [this] {
        wheeled_ = false;
        fitAxes();
        replot();
    });
    // The wheel zooms the frequency axis about the mouse: the low end of a wide spectrum is
    // where a vibration's lines usually are.
    setInteraction(QCP::iRangeZoom, true);
    axisRect()->setRangeZoom(Qt::Horizontal);
    axisRect()->setRangeZoomFactor(0.5, 1.0);
    connect(this, &QCustomPlot::mouseWheel, this, [this] { wheeled_ = true; });
}

void SpectrumChart::setLogFrequency(bool on)
{
    logFrequency_ = on;
    xAxis->setScaleType(on ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    if (on)
        xAxis->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
    else
        useReadableTicks(xAxis);
}

QCPGraph* SpectrumChart::trace(int channel) const
{
    return channel >= 0 && channel < traces_.size() ? traces_[channel] : nullptr;
}

void SpectrumChart::showPlot(const SpectrumPlot& plot, const std::vector<QColor>& colours)
{
    decibels_ = plot.decibels;
    xAxis->setLabel(plot.xTitle);
    yAxis->setLabel(plot.yTitle);
    for (int c = 0; c < traces_.size(); ++c) {
        const bool shown = size_t(c) < plot.traces.size();
        QCPGraph* g = traces_[c];
        g->setVisible(shown);
        markers_[c]->setVisible(shown);
        labels_[c]->setVisible(shown && plot.traces[size_t(c)].hasPeak);
        if (!shown) {
            clearGraph(g);
            clearGraph(markers_[c]);
            continue;
        }
        const SpectrumTrace& t = plot.traces[size_t(c)];
        const QColor colour = size_t(c) < colours.size() ? colours[size_t(c)] : QColor(Qt::black);
        g->setPen(QPen(colour));
        if (logFrequency_ && !t.points.isEmpty() && t.points.x.front() <= 0.0) {
            // 0 Hz has no place on a logarithmic axis.
            PointSeries above;
            above.x = t.points.x.mid(1);
            above.y = t.points.y.mid(1);
            fillGraph(g, above);
        } else {
            fillGraph(g, t.points);
        }
        clearGraph(markers_[c]);
        if (t.hasPeak) {
            appendPoint(markers_[c], t.peakX, t.peakY);
            labels_[c]->setText(t.peakLabel);
            labels_[c]->setColor(colour);
        }
    }
    if (!zoom_->isZoomed() && !wheeled_)
        fitAxes();
    replot();
}

void SpectrumChart::fitAxes()
{
    bool found = false;
    QCPRange keys;
    QCPRange values;
    for (QCPGraph* g : traces_) {
        if (!g->visible() || g->data()->isEmpty())
            continue;
        bool ok = false;
        const QCPRange k = g->getKeyRange(ok, logFrequency_ ? QCP::sdPositive : QCP::sdBoth);
        // The mean at 0 Hz would dwarf the spectrum of a signal on an offset: the value axis
        // fits the bins above it, and the read-out still tells the mean.
        const QCPRange v = g->getValueRange(ok, QCP::sdBoth, QCPRange(k.lower + 1e-300, k.upper));
        if (!ok)
            continue;
        keys = found ? QCPRange(std::min(keys.lower, k.lower), std::max(keys.upper, k.upper)) : k;
        values = found ? QCPRange(std::min(values.lower, v.lower), std::max(values.upper, v.upper)) : v;
        found = true;
    }
    if (!found)
        return;
    if (decibels_)
        values.lower = std::max(values.lower, values.upper - ShownDecibels);
    else
        values.lower = std::min(values.lower, 0.0);
    // Room above the highest peak for the peak texts.
    const double span = values.upper > values.lower ? values.upper - values.lower : 1.0;
    xAxis->setRange(keys);
    yAxis->setRange(values.lower, values.upper + 0.15 * span);
}

}  // namespace korvel
