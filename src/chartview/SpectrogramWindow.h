#pragma once
// The spectrogram window ("Спектрограмма"): how the spectrum of the signal the main chart shows
// changes over its visible X range, as a colour map; segment, overlap, window function, scale
// and dB to choose, a read-out of t, f and the level under the mouse, copy.

#include "settings/SpectrumSettings.h"
#include "spectrum/SignalAnalysis.h"
#include "spectrum/Spectrogram.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

namespace korvel {

class SpectrogramChart;

class SpectrogramWindow : public QWidget {
    Q_OBJECT

public:
    explicit SpectrogramWindow(QWidget* parent = nullptr);

    SpectrogramChart* chart() const { return chart_; }
    QLabel* readoutLabel() const { return readout_; }
    QLabel* infoLabel() const { return info_; }
    const Spectrogram& spectrogram() const { return frames_; }
    // The first sample of the stretch, in seconds from the record's start.
    double startSeconds() const { return start_; }

    // As the spectrum window takes them: the plotted signal, its Y title, the visible range.
    void setSignal(PlottedSignal signal, const QString& amplitudeTitle, double from, double to);
    void setRange(double from, double to);

    SpectrogramOptions options() const;
    void applyChoices(const SpectrogramSettings& s);
    SpectrogramSettings settings() const;

    // pixelX, pixelY: the mouse in the chart's pixels.
    void chartMouseMove(double pixelX, double pixelY);

    QComboBox* cbSegment;
    QComboBox* cbOverlap;
    QComboBox* cbWindow;
    QComboBox* cbScale;
    QCheckBox* cbDecibels;
    QComboBox* cbChannel;   // X or Y of a two-channel record

private:
    void recompute();

    SpectrogramChart* chart_;
    QLabel* readout_;
    QLabel* info_;
    PlottedSignal signal_;
    QString amplitudeTitle_;
    double from_;
    double to_;
    Spectrogram frames_;
    double start_ = 0.0;
    FrequencyAxis axis_;
};

}  // namespace korvel
