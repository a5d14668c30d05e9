#pragma once
// The spectrum on QCustomPlot: one trace per channel, each highest peak marked with its
// frequency and amplitude, and the main chart's rectangle zoom.

#include "spectrum/SignalAnalysis.h"

#include <qcustomplot.h>

#include <vector>

namespace korvel {

class ZoomGesture;

class SpectrumChart : public QCustomPlot {
    Q_OBJECT

public:
    explicit SpectrumChart(QWidget* parent = nullptr);

    // Replaces the traces (colours in channel order) and, unless the user has zoomed (with the
    // rectangle or the wheel; the undo gesture lets go of both), fits the
    // axes: the whole frequency range, and in dB the top 160 dB. Replots once.
    void showPlot(const SpectrumPlot& plot, const std::vector<QColor>& colours);
    // The axes fitted to the traces again.
    void fitAxes();
    // A logarithmic frequency axis, without the 0 Hz bin. Takes effect at the next showPlot.
    void setLogFrequency(bool on);

    ZoomGesture* zoomGesture() const { return zoom_; }
    QCPGraph* trace(int channel) const;

private:
    QList<QCPGraph*> traces_;
    QList<QCPGraph*> markers_;
    QList<QCPItemText*> labels_;
    ZoomGesture* zoom_ = nullptr;
    bool decibels_ = false;
    bool logFrequency_ = false;
    bool wheeled_ = false;   // the wheel zoomed the frequency axis: updates keep its range
};

}  // namespace korvel
