#include "chartview/SpectrogramChart.h"

#include "chartview/ZoomGesture.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// Below this the colours would spend themselves on the arithmetic's noise.
constexpr double ShownDecibels = 100.0;

}  // namespace

SpectrogramChart::SpectrogramChart(QWidget* parent) : QCustomPlot(parent)
{
    setNoAntialiasingOnDrag(true);
    xAxis->setLabel(QStringLiteral("Время, с"));
    yAxis->setLabel(QStringLiteral("Частота, Гц"));
    map_ = new QCPColorMap(xAxis, yAxis);
    map_->setInterpolate(false);
    map_->setTightBoundary(false);
    scale_ = new QCPColorScale(this);
    plotLayout()->addElement(0, 1, scale_);
    scale_->setType(QCPAxis::atRight);
    map_->setColorScale(scale_);
    map_->setGradient(QCPColorGradient::gpJet);
    // The map and its scale share their top and bottom.
    auto* margins = new QCPMarginGroup(this);
    axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    scale_->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    zoom_ = new ZoomGesture(this);
    setToolTip(ZoomGesture::toolTip());
    connect(zoom_, &ZoomGesture::undoZoomed, this, [this] {
        rescaleAxes();
        replot();
    });
}

void SpectrogramChart::showSpectrogram(const SpectrogramPlot& plot)
{
    yAxis->setLabel(plot.frequencyTitle);
    scale_->axis()->setLabel(plot.levelTitle);
    QCPColorMapData* data = map_->data();
    const Spectrogram* g = plot.frames;
    if (!g || g->frames == 0) {
        data->clear();
        return;
    }
    const double firstT = plot.startSeconds + g->timeOf(0);
    const double lastT = plot.startSeconds + g->timeOf(g->frames - 1);
    const double topF = g->frequencyOf(g->bins - 1) / plot.hzPerUnit;
    data->setSize(g->frames, g->bins);
    // One frame alone still gets a cell as wide as its step.
    data->setRange(QCPRange(firstT, g->frames > 1 ? lastT : firstT + g->timeStepS),
                   QCPRange(0.0, g->bins > 1 ? topF : 1.0));
    // The colours span the levels above 0 Hz: the mean there (an offset, gravity) would take
    // the top of the scale from the vibration. It shows in the top colour.
    double highest = -std::numeric_limits<double>::infinity();
    double lowest = std::numeric_limits<double>::infinity();
    const int firstCounted = g->bins > 1 ? 1 : 0;
    for (int f = 0; f < g->frames; ++f)
        for (int k = 0; k < g->bins; ++k) {
            const double v = g->at(f, k);
            data->setCell(f, k, v);
            if (k >= firstCounted) {
                highest = std::max(highest, v);
                lowest = std::min(lowest, v);
            }
        }
    if (plot.decibels)
        lowest = std::max(lowest, highest - ShownDecibels);
    else
        lowest = std::min(lowest, 0.0);
    map_->setDataRange(QCPRange(lowest, highest > lowest ? highest : lowest + 1.0));
    if (!zoom_->isZoomed()) {
        bool ok = false;
        xAxis->setRange(map_->getKeyRange(ok));
        yAxis->setRange(map_->getValueRange(ok));
    }
}

}  // namespace korvel
