#pragma once
// The spectrum and the measurements of every channel of a plotted signal over a stretch of
// its X axis, and the same as the spectrum chart and its texts show them.

#include "chart/PlottedSignal.h"
#include "spectrum/Measurements.h"
#include "spectrum/Spectrum.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace korvel {

struct ChannelAnalysis {
    IndexRange range;
    Spectrum spectrum;
    Measurements measurements;   // the dominant frequency is the spectrum's peak
};

struct SignalAnalysis {
    double sampleRateHz = 0.0;
    std::vector<ChannelAnalysis> channels;   // one per channel of the signal
};

// The points within [from, to] of each channel.
SignalAnalysis AnalyseSignal(const PlottedSignal& signal, double from, double to,
                             const SpectrumOptions& options);

// "X" and "Y" for a two-channel record; empty for one channel.
QString ChannelName(const SignalAnalysis& a, size_t channel);

// --- What the spectrum chart shows ---

// Hz up to 10 kHz, kHz above: the divisor of the frequency axis and its title.
struct FrequencyAxis {
    double hzPerUnit = 1.0;
    QString title;
    QString unit;
    int decimals = 0;    // as many as the bin spacing resolves
};
FrequencyAxis FrequencyAxisFor(const SignalAnalysis& a);
// "1,000 кГц": in the axis' unit with the decimals the bins resolve.
QString FrequencyText(const FrequencyAxis& axis, double hz);
// Five significant digits, or "−12,3 дБ".
QString AmplitudeText(double amplitude, bool decibels);

struct SpectrumTrace {
    PointSeries points;             // X in the axis' unit, amplitude or dB
    bool hasPeak = false;
    double peakX = 0.0;             // the refined frequency, in the axis' unit
    double peakY = 0.0;             // the peak bin's value
    QString peakLabel;
};

struct SpectrumPlot {
    bool decibels = false;
    std::vector<SpectrumTrace> traces;
    QString xTitle;
    QString yTitle;
};

// amplitudeTitle names the signal's unit (the main chart's left title).
SpectrumPlot BuildSpectrumPlot(const SignalAnalysis& a, bool decibels,
                               const QString& amplitudeTitle);

// "f = 1,000 кГц, A = 1299,8" for the bin nearest to x (in the axis' unit); empty when the
// channel has no spectrum.
QString ReadoutText(const SignalAnalysis& a, size_t channel, double x, bool decibels);

// Rows of the measurements panel: a caption, then one text per channel.
struct MeasurementRow {
    QString caption;
    QStringList values;
};
std::vector<MeasurementRow> MeasurementRows(const SignalAnalysis& a);

}  // namespace korvel
