#pragma once
// Cursors A and B over the spectrum: the frequency and the shown value at each bin, Δf, the level
// of B against A in dB, and the harmonics of A's frequency.

#include "spectrum/SignalAnalysis.h"

#include <QStringList>
#include <QVector>
#include <vector>

namespace korvel {

struct SpectrumCursorReadout {
    double frequencyA = 0.0;        // Hz, of the bins the cursors stand on
    double frequencyB = 0.0;
    std::vector<double> amplitudeA; // per channel, in the signal's unit
    std::vector<double> amplitudeB;
    std::vector<double> levelDb;    // 20·log10(B / A) per channel; NaN where A is 0
    QStringList lines;              // the read-out box
};

inline constexpr int LastHarmonic = 10;

// The bin nearest to x (in the frequency axis' unit), within the first channel's spectrum.
int SpectrumBinAt(const SignalAnalysis& a, double x);
// The X (in the axis' unit) of a bin of the first channel.
double SpectrumBinX(const SignalAnalysis& a, int bin);

SpectrumCursorReadout ReadSpectrumCursors(const SignalAnalysis& a, int binA, int binB);

// 2×, 3×, … 10× A's frequency, in the axis' unit, those up to the spectrum's last bin.
QVector<double> HarmonicsOf(const SignalAnalysis& a, int binA);

}  // namespace korvel
