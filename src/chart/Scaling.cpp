#include "chart/Scaling.h"

#include "record/BoardWords.h"
#include "text/NumberFormat.h"

#include <cmath>
#include <limits>

namespace korvel {

XUnit CalcScales(int xScaleIndex, int previousXUnitFactor)
{
    switch (xScaleIndex) {
    case 0: return {1, QStringLiteral("мкс")};
    case 1: return {1000, QStringLiteral("мс")};
    case 2: return {1000000, QStringLiteral("с")};
    default: return {previousXUnitFactor, QString()};
    }
}

AxisTitles AxisTitlesFor(int displayMode, const QString& valueTitle, const QString& XUnitName)
{
    AxisTitles t;
    t.left = ShowsValues(displayMode) ? valueTitle : QStringLiteral("единицы АЦП");
    t.bottom = ShowsTime(displayMode) ? TimeAxisName(XUnitName)
                                      : QStringLiteral("Выборки");
    return t;
}

RangeScale RangeInForce(const ScaleInputs& in)
{
    return RangeScaleOf(in.rangeIndex, in.calibration)
        .value_or(RangeScale{in.previous.ScaleK, in.previous.ScaleShift});
}

void CheckScaledValuesFinite(const ScaleCoefficients& s)
{
    // The scaled value is linear in the reading, so the two ends of the range decide.
    for (const long long r : {0LL, 4095LL})
        if (!std::isfinite(ConvertReading(r, 0, s)))
            throw ConversionError(
                QStringLiteral("Коэффициент %1 со сдвигом %2 даёт значения за пределами чисел "
                               "с плавающей точкой")
                    .arg(FloatToStr(s.ScaleK))
                    .arg(s.ScaleShift));
}

ScaleParams GetScaleParams(const ScaleInputs& in)
{
    ScaleParams out;
    const RangeScale range = RangeInForce(in);
    ScaleCoefficients s{range.ScaleK, range.ScaleShift};
    // The caption reports the range as the settings file gives it, before the user's factors.
    out.pRgmCaption = RangeCaption(range);

    if (in.extScaleIndex == 1)
        s.ScaleK = StrToFloat(in.emExtScale);
    else if (in.extScaleIndex == 2)
        s.ScaleK = StrToFloat(in.emExtScale) * s.ScaleK;

    if (in.extShiftIndex == 1) {
        s.ScaleShift = StrToInt(in.emExtShift);
    } else if (in.extShiftIndex == 2) {
        const long long sum = static_cast<long long>(s.ScaleShift) + StrToInt(in.emExtShift);
        if (sum < std::numeric_limits<int>::min() || sum > std::numeric_limits<int>::max())
            throw ConversionError(
                QStringLiteral("Смещение «%1» вместе со сдвигом АЦП выходит за пределы целого числа")
                    .arg(in.emExtShift));
        s.ScaleShift = static_cast<int>(sum);
    }

    CheckScaledValuesFinite(s);
    out.coefficients = s;
    out.titles = AxisTitlesFor(in.displayMode, in.eYTitle, in.XUnitName);
    return out;
}

}  // namespace korvel
