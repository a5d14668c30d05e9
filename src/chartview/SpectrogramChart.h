#pragma once
// The spectrogram on QCustomPlot: time along the bottom, frequency up the side, the level as a
// colour with its scale at the right; the main chart's rectangle zoom.

#include "spectrum/Spectrogram.h"

#include <qcustomplot.h>

namespace korvel {

class ZoomGesture;

struct SpectrogramPlot {
    const Spectrogram* frames = nullptr;
    double startSeconds = 0.0;   // the stretch's first sample
    double hzPerUnit = 1.0;      // of the frequency axis
    QString frequencyTitle;
    QString levelTitle;          // the colour scale's
    bool decibels = false;
};

class SpectrogramChart : public QCustomPlot {
    Q_OBJECT

public:
    explicit SpectrogramChart(QWidget* parent = nullptr);

    // Replaces the map and, unless the user has zoomed, fits the axes to it; the colours span
    // the levels above 0 Hz (in dB their top 100 dB). Does not replot.
    void showSpectrogram(const SpectrogramPlot& plot);

    QCPColorMap* colourMap() const { return map_; }
    QCPColorScale* colourScale() const { return scale_; }
    ZoomGesture* zoomGesture() const { return zoom_; }

private:
    QCPColorMap* map_ = nullptr;
    QCPColorScale* scale_ = nullptr;
    ZoomGesture* zoom_ = nullptr;
};

}  // namespace korvel
