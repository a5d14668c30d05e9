#pragma once
// Time × frequency: the spectrum of each segment along a stretch, segments overlapping by
// 0, 50 or 75 %, each value in a scale (linear or dB), frames one after another.

#include "spectrum/Spectrum.h"

#include <span>
#include <vector>

namespace korvel {

struct SpectrogramOptions {
    WindowFunction window = WindowFunction::Hann;
    int segment = 1024;        // MinimumSegment ... MaximumSegment, any length
    int overlapPercent = 50;   // 0, 50 or 75
    SpectrumScale scale = SpectrumScale::Amplitude;
    bool decibels = false;
    Integration integration;
};

inline SpectrogramOptions Frames(WindowFunction w, int segment, int overlapPercent,
                                 SpectrumScale scale = SpectrumScale::Amplitude, bool decibels = false)
{
    SpectrogramOptions o;
    o.window = w;
    o.segment = segment;
    o.overlapPercent = overlapPercent;
    o.scale = scale;
    o.decibels = decibels;
    return o;
}

struct Spectrogram {
    int frames = 0;
    int bins = 0;
    int length = 0;              // points in a segment
    double timeStepS = 0.0;      // between two frames' centres
    double firstTimeS = 0.0;     // the first frame's centre, from the stretch's first sample
    double resolutionHz = 0.0;
    std::vector<double> values;  // frames × bins, frame after frame

    double timeOf(int frame) const { return firstTimeS + frame * timeStepS; }
    double frequencyOf(int bin) const { return bin * resolutionHz; }
    double at(int frame, int bin) const { return values[size_t(frame) * size_t(bins) + size_t(bin)]; }
};

// A stretch shorter than the segment is one frame of its own length; fewer than two samples
// or a sample rate that is not positive give nothing.
Spectrogram ComputeSpectrogram(std::span<const double> y, double sampleRateHz,
                               const SpectrogramOptions& options);

}  // namespace korvel
