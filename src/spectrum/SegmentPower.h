#pragma once
// The step every spectrum and spectrogram shares: one segment windowed, its mean taken out,
// transformed, and the squared magnitude of each bin; and the factor per bin that turns such a
// power into a value of a scale, integration included.

#include "spectrum/Spectrum.h"

#include <span>
#include <vector>

namespace korvel {

class RealFft;

// From one segment's start to the next's, for an overlap of 0 ... 75 %.
int SegmentStep(int length, int overlapPercent);

class SegmentPower {
public:
    SegmentPower(WindowFunction f, int length);

    int length() const { return length_; }
    int bins() const { return length_ / 2 + 1; }
    // fs · Σw² / (Σw)²
    double noiseBandwidthHz(double sampleRateHz) const;

    // |X_k|² of the windowed segment less its mean, and at bin 0 (mean · Σw)², so that the
    // mean reads at 0 Hz as a tone reads at its bin.
    void transform(std::span<const double> part, std::span<double> power);

    // value = power · factor for the density scale, √(power · factor) for the others.
    double factor(int k, SpectrumScale scale, double sampleRateHz, const Integration& integration) const;
    std::vector<double> factors(SpectrumScale scale, double sampleRateHz,
                                const Integration& integration) const;

private:
    bool edge(int k) const { return k == 0 || (length_ % 2 == 0 && k == bins() - 1); }

    int length_;
    WindowFunction function_;
    std::span<const double> window_;
    double sum_ = 0.0;       // Σw
    double squares_ = 0.0;   // Σw²
    RealFft* fft_;
};

}  // namespace korvel
