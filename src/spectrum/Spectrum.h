#pragma once
// The single-sided spectrum of a stretch of samples: windowed, one transform over the whole
// stretch or Welch's average (or peak hold) of overlapping segments, kept as the amplitude a
// sine would read (A at its bin, the mean at 0 Hz) and shown in any of four scales; its peaks.
// An acceleration can be shown as the velocity or displacement it integrates to.

#include "spectrum/Integration.h"
#include "spectrum/WindowFunction.h"

#include <QVector>
#include <optional>
#include <span>
#include <vector>

namespace korvel {

// Amplitude: a sine of amplitude A reads A. Rms: A / √2. Psd: power spectral density in
// unit²/Hz, corrected by the window's noise bandwidth, so white noise of deviation σ reads
// 2σ²/fs whatever the window and the segment. Asd: its root, unit/√Hz.
enum class SpectrumScale { Amplitude, Rms, Psd, Asd };
inline constexpr SpectrumScale SpectrumScales[] = {SpectrumScale::Amplitude, SpectrumScale::Rms,
                                                   SpectrumScale::Psd, SpectrumScale::Asd};

// Mean: the segments' power averaged. PeakHold: the highest of each bin over the segments.
enum class Averaging { Mean, PeakHold };

struct SpectrumOptions {
    WindowFunction window = WindowFunction::Hann;
    // 0: one transform over the whole stretch. Otherwise segments of this many points
    // (MinimumSegment ... MaximumSegment, any length); a shorter stretch gets one transform
    // of its own length.
    int segment = 0;
    int overlapPercent = 50;   // 0, 50 or 75
    Averaging averaging = Averaging::Mean;
    Integration integration;
};

// Options without integration, for short calls.
inline SpectrumOptions Welch(WindowFunction w, int segment, int overlapPercent = 50,
                             Averaging averaging = Averaging::Mean)
{
    SpectrumOptions o;
    o.window = w;
    o.segment = segment;
    o.overlapPercent = overlapPercent;
    o.averaging = averaging;
    return o;
}

inline constexpr int MinimumSegment = 256;
inline constexpr int MaximumSegment = 65536;
bool IsSegmentLength(int n);
// The overlaps offered, in percent of a segment.
inline constexpr int Overlaps[] = {0, 50, 75};
bool IsOverlap(int percent);

struct SpectrumPeak {
    int bin = 0;
    double frequencyHz = 0.0;   // refined between the bins
    double amplitude = 0.0;     // the bin's amplitude
    double order = 1.0;         // the frequency over the highest peak's
};

struct Spectrum {
    double sampleRateHz = 0.0;
    double resolutionHz = 0.0;      // bin spacing
    int transformLength = 0;
    int segments = 0;
    double noiseBandwidthHz = 0.0;  // the window's equivalent noise bandwidth
    WindowFunction window = WindowFunction::Hann;
    Quantity quantity = Quantity::Acceleration;
    QVector<double> amplitude;      // bins 0 .. transformLength / 2, in the signal's unit
    std::optional<SpectrumPeak> peak;   // the highest bin above 0 Hz

    double frequencyOf(int bin) const { return bin * resolutionHz; }
    double nyquistHz() const { return sampleRateHz / 2; }
};

// Fewer than two samples or a sample rate that is not positive give an empty spectrum.
Spectrum ComputeSpectrum(std::span<const double> y, double sampleRateHz,
                         const SpectrumOptions& options);

// One bin, or every bin, in a scale.
double ScaledValue(const Spectrum& s, int bin, SpectrumScale scale);
QVector<double> ScaledValues(const Spectrum& s, SpectrumScale scale);

// The power scale is in dB as 10·log10 (re 1 unit²/Hz), the others as 20·log10 (re 1 unit).
bool IsPowerScale(SpectrumScale scale);

// Local maxima at least a main lobe apart, each placed between its bins as the dominant peak
// is; the count highest, highest first, with their orders.
std::vector<SpectrumPeak> FindPeaks(const Spectrum& s, int count);

// The RMS between two frequencies, summed from the density: the mean squares of the bins
// whose centre lies in [fromHz, toHz] (the mean's own at 0 Hz).
struct BandRms {
    double fromHz = 0.0;
    double toHz = 0.0;
    double rms = 0.0;
    bool reached = true;   // false: the band goes past the record's Nyquist frequency
};
BandRms ComputeBandRms(const Spectrum& s, double fromHz, double toHz);

// 20·log10 of each amplitude over 1 unit (10·log10 of a power scale); zero amplitudes sit
// 240 dB below the highest.
QVector<double> ToDecibels(const QVector<double>& values, SpectrumScale scale = SpectrumScale::Amplitude);
double ToDecibels(double value, SpectrumScale scale = SpectrumScale::Amplitude);

}  // namespace korvel
