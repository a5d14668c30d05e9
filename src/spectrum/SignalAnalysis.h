#pragma once
// The spectrum and the measurements of every channel of a plotted signal over a stretch of
// its X axis (as recorded, or integrated to velocity or displacement), the band RMS and the
// peak list; and the same as the spectrum chart, its texts and the report show them.

#include "chart/PlottedSignal.h"
#include "spectrum/Measurements.h"
#include "spectrum/Spectrum.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace korvel {

struct FrequencyBand {
    double fromHz = 10.0;
    double toHz = 1000.0;
};

struct AnalysisOptions {
    SpectrumOptions spectrum;   // its integration's gain is found from the Y title
    SpectrumScale scale = SpectrumScale::Amplitude;
    bool decibels = false;
    std::optional<FrequencyBand> band;
    int peaks = 0;              // how many the peak list holds
};

struct ChannelAnalysis {
    IndexRange range;
    Spectrum spectrum;
    Measurements measurements;   // of the quantity shown; the dominant frequency is the spectrum's peak
    std::optional<BandRms> band;
    std::vector<SpectrumPeak> peaks;
};

struct SignalAnalysis {
    double sampleRateHz = 0.0;
    AnalysisOptions options;
    // The unit of the quantity shown: the Y title's for the signal as recorded.
    IntegratedUnit unit;
    QString amplitudeTitle;      // the chart's Y title the analysis was made for
    std::vector<ChannelAnalysis> channels;   // one per channel of the signal
};

// The points within [from, to] of each channel. amplitudeTitle: the main chart's Y title,
// whose unit decides the units of an integration.
SignalAnalysis AnalyseSignal(const PlottedSignal& signal, double from, double to,
                             const AnalysisOptions& options, const QString& amplitudeTitle);

// "X" and "Y" for a two-channel record; empty for one channel.
QString ChannelName(const SignalAnalysis& a, size_t channel);

// The names of the choices, as the window lists them.
QString WindowFunctionName(WindowFunction f);   // "Ханн", "прямоугольное", "плоская вершина"
QString ScaleName(SpectrumScale s);             // "амплитуда", "СКЗ", "СПМ", "АСП"
QString QuantityName(Quantity q);               // "Ускорение", "Скорость", "Перемещение"

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

// The unit of a bin's value in the analysis' scale: "мм/с", "(мм/с)²/Гц", "дБ отн. 1 мВ".
QString ValueUnit(const SignalAnalysis& a);
// The value axis' title: "СКЗ, мм/с", "Амплитуда, дБ отн. 1 мВ".
QString ValueTitle(const SignalAnalysis& a);
// A bin's value in the analysis' scale, in dB when it is chosen.
double ShownValue(const SignalAnalysis& a, size_t channel, int bin);
// A peak's value in the analysis' scale (its amplitude refined with its frequency when the
// spectrum is integrated), in dB when it is chosen.
double PeakValue(const SignalAnalysis& a, size_t channel, const SpectrumPeak& p);
// "1,2345 мм/с" or "-12,3 дБ"
QString ValueText(const SignalAnalysis& a, double shownValue);
// "A = 1,2345", "СПМ = -12,3 дБ": a bin's value named as the read-outs name it.
QString ShownValueText(const SignalAnalysis& a, size_t channel, int bin);

// The spectrogram's frequency axis and the title of its colour scale, named as the spectrum's.
struct SpectrogramAxes {
    FrequencyAxis frequency;
    QString levelTitle;
};
SpectrogramAxes SpectrogramAxesFor(double sampleRateHz, SpectrumScale scale, bool decibels,
                                   const QString& amplitudeTitle);

struct SpectrumTrace {
    PointSeries points;             // X in the axis' unit, the value in the scale (or dB)
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

SpectrumPlot BuildSpectrumPlot(const SignalAnalysis& a);

// "f = 1,000 кГц, A = 1299,8" for the bin nearest to x (in the axis' unit); empty when the
// channel has no spectrum.
QString ReadoutText(const SignalAnalysis& a, size_t channel, double x);

// Rows of a table: a caption, then one text per channel.
struct MeasurementRow {
    QString caption;
    QStringList values;
};
std::vector<MeasurementRow> MeasurementRows(const SignalAnalysis& a);
// What the rows measure when it is not the signal as recorded: "Скорость, мм/с"; empty otherwise.
QString MeasuredQuantity(const SignalAnalysis& a);

// "СКЗ скорости 10–1000 Гц" and its value per channel; the value names the Nyquist frequency
// when the band goes past it. Nothing without a band.
std::optional<MeasurementRow> BandRow(const SignalAnalysis& a);

// The peak list: one row per peak of the first channel (or per channel with a prefix):
// frequency, value in the scale, order.
struct PeakRow {
    QString frequency;
    QString value;
    QString order;
};
std::vector<PeakRow> PeakRows(const SignalAnalysis& a, size_t channel);

// One line on the integration: the low cut-off, and a warning when the unit is no acceleration.
QString IntegrationNote(const SignalAnalysis& a);

}  // namespace korvel
