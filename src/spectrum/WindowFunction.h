#pragma once
// The window functions of the spectrum, all sums of cosines: their values over a segment and
// the shape of their spectral main lobe, which the peak search uses to place a tone between
// two bins.

#include <span>

namespace korvel {

enum class WindowFunction { Hann, Rectangular, FlatTop };
// In the order the windows and the command line list them.
inline constexpr WindowFunction WindowFunctions[] = {WindowFunction::Hann, WindowFunction::Rectangular,
                                                    WindowFunction::FlatTop};

// Fills w with the periodic window of w.size() points (the form spectral analysis uses).
void FillWindow(WindowFunction f, std::span<double> w);

// The window of n points, computed once for the few lengths used last (a cosine per point
// costs as much as the transform itself).
std::span<const double> CachedWindow(WindowFunction f, int n);

// |W(nu)| / |W(0)|: the window's amplitude response nu bins away from a tone's frequency,
// for long segments.
double WindowResponse(WindowFunction f, double nu);

// The width of the main lobe in bins, zero to zero: two peaks closer than this are one.
int MainLobeBins(WindowFunction f);

}  // namespace korvel
