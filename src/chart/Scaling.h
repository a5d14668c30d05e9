#pragma once
// How a raw reading becomes the plotted Y and a sample index the plotted X: the X unit, the
// effective coefficient and shift, the axis titles, and the conversion both ways.

#include "chart/Calibration.h"

#include <QString>

namespace korvel {

// Items of cbShowK: 0 values/time, 1 ADC units/samples, 2 values/samples, 3 ADC units/time.
inline bool ShowsValues(int displayMode) { return displayMode == 0 || displayMode == 2; }
inline bool ShowsTime(int displayMode) { return displayMode == 0 || displayMode == 3; }

struct XUnit {
    int XUnitFactor = 1;
    QString XUnitName;
};

// cbXscale: "мкс", "мс", "с". An index outside 0..2 keeps the factor and names no unit.
XUnit CalcScales(int xScaleIndex, int previousXUnitFactor);

struct ScaleCoefficients {
    double ScaleK = 0.0;
    int ScaleShift = 0;
};

struct AxisTitles {
    QString left;
    QString bottom;
};

// The left title is valueTitle (eYTitle, or a file's AxisYName) when values are shown.
AxisTitles AxisTitlesFor(int displayMode, const QString& valueTitle, const QString& XUnitName);

struct ScaleInputs {
    int rangeIndex = 3;             // cbRgm
    Calibration calibration;
    int extScaleIndex = 0;          // cbExtScale
    QString emExtScale = QStringLiteral("1,0");
    int extShiftIndex = 0;          // cbExtShift
    QString emExtShift = QStringLiteral("0");
    int displayMode = 0;            // cbShowK
    QString eYTitle;
    QString XUnitName;
    ScaleCoefficients previous;     // kept when no range is selected
};

struct ScaleParams {
    ScaleCoefficients coefficients;
    QString pRgmCaption;
    AxisTitles titles;
};

// The range's own coefficient and shift (the previous ones when no range is selected), before
// the user's factor and shift: what the pRgm caption reports.
RangeScale RangeInForce(const ScaleInputs& in);

// Throws ConversionError when a selected external text does not convert, when the entered
// shift added to the range's shift leaves 32 bits, or when the coefficients fail the check
// below.
ScaleParams GetScaleParams(const ScaleInputs& in);

// Throws ConversionError when some 12-bit reading would scale to a value that is not finite
// (a coefficient such as 1e308, or a file's NaN): such a chart would be empty without a word.
void CheckScaledValuesFinite(const ScaleCoefficients& s);

// The Y of reading r (already masked to 12 bits, possibly smoothed or offset).
inline double ConvertReading(long long r, int displayMode, const ScaleCoefficients& s)
{
    if (!ShowsValues(displayMode))
        return static_cast<double>(r);
    // 64-bit subtraction: an entered shift near the 32-bit limits must not overflow.
    return static_cast<double>(static_cast<long double>(r - s.ScaleShift) * s.ScaleK);
}

// ADC level of a value in the Y quantity (the analogue output thresholds).
inline double ToAdcLevel(double value, const ScaleCoefficients& s)
{
    return static_cast<double>(static_cast<long double>(value) / s.ScaleK + s.ScaleShift);
}

inline double XStepFor(int displayMode, double SamplePeriod, int XUnitFactor)
{
    if (!ShowsTime(displayMode))
        return 1.0;
    return static_cast<double>(static_cast<long double>(SamplePeriod) / XUnitFactor);
}

// X of sample i taken periodMicroseconds apart.
inline double SampleX(long long i, int displayMode, double periodMicroseconds, int XUnitFactor)
{
    if (!ShowsTime(displayMode))
        return static_cast<double>(i);
    return static_cast<double>(static_cast<long double>(i) * periodMicroseconds / XUnitFactor);
}

}  // namespace korvel
