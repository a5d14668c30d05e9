#pragma once
// The board's input ranges and the calibration keys they take their coefficient and shift from.

#include "text/NumberFormat.h"

#include <QString>
#include <optional>

namespace korvel {

struct Calibration {
    double AdcKPlus2V = 1.0;
    double AdcKMinus2V = -1.0;
    int AdcBipolarShift2V = 0;
    double AdcKPlus5V = 1.0;
    double AdcKMinus5V = -1.0;
    int AdcBipolarShift5V = 0;
};

struct RangeScale {
    double ScaleK = 0.0;
    int ScaleShift = 0;
};

// Items of cbRgm: "0...-2В", "0...-5В", "±1В", "±2,5В", "0...+2В", "0...+5В". Any other index
// (no selection) gives nothing, and the caller keeps the coefficient it had.
inline std::optional<RangeScale> RangeScaleOf(int rangeIndex, const Calibration& c)
{
    switch (rangeIndex) {
    case 0: return RangeScale{c.AdcKMinus2V, 0};
    case 1: return RangeScale{c.AdcKMinus5V, 0};
    case 2: return RangeScale{c.AdcKPlus2V, c.AdcBipolarShift2V};
    case 3: return RangeScale{c.AdcKPlus5V, c.AdcBipolarShift5V};
    case 4: return RangeScale{c.AdcKPlus2V, 0};
    case 5: return RangeScale{c.AdcKPlus5V, 0};
    default: return std::nullopt;
    }
}

// The caption of pRgm: the range's own coefficient and shift, before any external setting.
inline QString RangeCaption(const RangeScale& r)
{
    return Format(u"Kацп=%f; СДВИГ=%d (ini-файл)", {r.ScaleK, r.ScaleShift});
}

}  // namespace korvel
