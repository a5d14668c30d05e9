#pragma once
// The single-sided amplitude spectrum of a stretch of samples: windowed, one transform over
// the whole stretch or Welch's average of half-overlapping segments, scaled so that a sine of
// amplitude A reads A at its bin and the mean reads at 0 Hz; and its highest peak.

#include "spectrum/WindowFunction.h"

#include <QVector>
#include <optional>
#include <span>

namespace korvel {

struct SpectrumOptions {
    WindowFunction window = WindowFunction::Hann;
    // 0: one transform over the whole stretch. Otherwise Welch segments of this many points
    // (1024 ... 65536), 50 % overlap; a shorter stretch gets one transform of its own length.
    int segment = 0;
};

inline constexpr int MinimumSegment = 1024;
inline constexpr int MaximumSegment = 65536;
// Powers of two from MinimumSegment to MaximumSegment.
bool IsSegmentLength(int n);

struct SpectrumPeak {
    int bin = 0;
    double frequencyHz = 0.0;   // refined between the bins
    double amplitude = 0.0;     // the bin's amplitude
};

struct Spectrum {
    double sampleRateHz = 0.0;
    double resolutionHz = 0.0;      // bin spacing
    int transformLength = 0;
    int segments = 0;
    QVector<double> amplitude;      // bins 0 .. transformLength / 2, in the signal's unit
    std::optional<SpectrumPeak> peak;   // the highest bin above 0 Hz

    double frequencyOf(int bin) const { return bin * resolutionHz; }
};

// Fewer than two samples or a sample rate that is not positive give an empty spectrum.
Spectrum ComputeSpectrum(std::span<const double> y, double sampleRateHz,
                         const SpectrumOptions& options);

// 20·log10 of each amplitude over 1 unit; zero amplitudes sit 240 dB below the highest.
QVector<double> ToDecibels(const QVector<double>& amplitude);
double ToDecibels(double amplitude);

}  // namespace korvel
