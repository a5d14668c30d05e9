#include "chart/ScaleControls.h"
#include "chart/Scaling.h"
#include "chart/Smoother.h"

#include <gtest/gtest.h>
#include <limits>

using namespace korvel;

namespace {

ScaleInputs inputs(int range)
{
    ScaleInputs in;
    in.rangeIndex = range;
    in.XUnitName = QStringLiteral("мкс");
    return in;
}

}  // namespace

TEST(GetScaleParams, NegativeRangeWithDefaultsPlotsReadingNegatedOnlyInValueModes)
{
    const ScaleParams p = GetScaleParams(inputs(0));
    EXPECT_EQ(p.coefficients.ScaleK, -1.0);
    EXPECT_EQ(p.coefficients.ScaleShift, 0);
    EXPECT_EQ(ConvertReading(1000, 0, p.coefficients), -1000.0);
    EXPECT_EQ(ConvertReading(1000, 1, p.coefficients), 1000.0);
}

TEST(GetScaleParams, BipolarShiftIsSubtractedBeforeTheFactor)
{
    ScaleInputs in = inputs(2);
    in.calibration.AdcBipolarShift2V = 2048;
    const ScaleParams p = GetScaleParams(in);
    EXPECT_EQ(ConvertReading(2048, 0, p.coefficients), 0.0);
    EXPECT_EQ(ConvertReading(0, 2, p.coefficients), -2048.0);
}

TEST(GetScaleParams, ExternalShiftAndScaleCombineWithTheRange)
{
    ScaleInputs in = inputs(3);
    in.calibration.AdcBipolarShift5V = 2047;
    in.extShiftIndex = 2;
    in.emExtShift = QStringLiteral("-10");
    EXPECT_EQ(GetScaleParams(in).coefficients.ScaleShift, 2037);
    in.extShiftIndex = 1;
    EXPECT_EQ(GetScaleParams(in).coefficients.ScaleShift, -10);

    in.calibration.AdcKPlus5V = 1.22;
    in.emExtScale = QStringLiteral("0,5");
    in.extScaleIndex = 2;
    EXPECT_DOUBLE_EQ(GetScaleParams(in).coefficients.ScaleK, 0.61);
    in.extScaleIndex = 1;
    EXPECT_EQ(GetScaleParams(in).coefficients.ScaleK, 0.5);
}

TEST(GetScaleParams, CaptionShowsTheRangeBeforeExternalSettings)
{
    EXPECT_EQ(GetScaleParams(inputs(3)).pRgmCaption, QStringLiteral("Kацп=1,00; СДВИГ=0 (ini-файл)"));

    ScaleInputs in = inputs(3);
    in.calibration.AdcKPlus5V = 1.22;
    in.calibration.AdcBipolarShift5V = 2047;
    in.extScaleIndex = 1;
    in.emExtScale = QStringLiteral("3");
    in.extShiftIndex = 1;
    in.emExtShift = QStringLiteral("5");
    EXPECT_EQ(GetScaleParams(in).pRgmCaption, QStringLiteral("Kацп=1,22; СДВИГ=2047 (ini-файл)"));
}

TEST(GetScaleParams, NoRangeSelectedKeepsThePreviousCoefficients)
{
    ScaleInputs in = inputs(-1);
    in.previous = {0.25, 7};
    const ScaleParams p = GetScaleParams(in);
    EXPECT_EQ(p.coefficients.ScaleK, 0.25);
    EXPECT_EQ(p.coefficients.ScaleShift, 7);
    EXPECT_EQ(GetScaleParams(inputs(6)).coefficients.ScaleK, 0.0);
}

TEST(GetScaleParams, BadTextsThrowOnlyWhenSelected)
{
    ScaleInputs in = inputs(3);
    in.emExtScale = QStringLiteral("1,,0");
    in.emExtShift = QStringLiteral("1,5");
    EXPECT_NO_THROW(GetScaleParams(in));
    in.extScaleIndex = 2;
    EXPECT_THROW(GetScaleParams(in), ConversionError);
    in.extScaleIndex = 0;
    in.extShiftIndex = 1;
    EXPECT_THROW(GetScaleParams(in), ConversionError);
    in.emExtShift = QString();
    EXPECT_THROW(GetScaleParams(in), ConversionError);

    // An entered shift that leaves 32 bits with the range's shift is refused, not wrapped.
    in.extShiftIndex = 2;
    in.calibration.AdcBipolarShift5V = 2047;
    in.emExtShift = QString::number(std::numeric_limits<int>::max());
    EXPECT_THROW(GetScaleParams(in), ConversionError);
}

TEST(GetScaleParams, ACoefficientWhoseValuesAreNotFiniteIsAConversionError)
{
    ScaleInputs in = inputs(3);
    in.extScaleIndex = 1;
    in.emExtScale = QStringLiteral("1e304");  // 4095 × 1e304 still fits
    EXPECT_NO_THROW(GetScaleParams(in));
    in.emExtScale = QStringLiteral("1e308");
    try {
        GetScaleParams(in);
        ADD_FAILURE() << "no conversion error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Коэффициент 1E+308 со сдвигом 0 даёт значения за "
                                              "пределами чисел с плавающей точкой"));
    }
    // The same from the settings file's calibration, and from a file's own coefficient.
    in.extScaleIndex = 0;
    in.calibration.AdcKPlus5V = -1e308;
    EXPECT_THROW(GetScaleParams(in), ConversionError);
    EXPECT_THROW(CheckScaledValuesFinite({std::numeric_limits<double>::quiet_NaN(), 0}),
                 ConversionError);
}

TEST(GetScaleParams, AdcModesIgnoreTheTitleAndAnUnknownUnitKeepsItsFactor)
{
    ScaleInputs in = inputs(3);
    in.eYTitle = QStringLiteral("Давление");
    in.displayMode = 3;
    EXPECT_EQ(GetScaleParams(in).titles.left, QStringLiteral("единицы АЦП"));
    EXPECT_EQ(GetScaleParams(in).titles.bottom, QStringLiteral("Время, мкс"));
    in.displayMode = 2;
    EXPECT_EQ(GetScaleParams(in).titles.left, QStringLiteral("Давление"));

    EXPECT_EQ(CalcScales(1, 1).XUnitName, QStringLiteral("мс"));
    EXPECT_EQ(CalcScales(3, 1000).XUnitFactor, 1000);
    EXPECT_TRUE(CalcScales(3, 1000).XUnitName.isEmpty());
}

TEST(Conversion, ExtremeShiftDoesNotOverflowAndInverseReturnsTheLevel)
{
    const ScaleCoefficients s{1.0, std::numeric_limits<int>::min()};
    EXPECT_EQ(ConvertReading(0, 0, s), 2147483648.0);
    const ScaleCoefficients t{0.5, 2048};
    EXPECT_EQ(ToAdcLevel(ConvertReading(3000, 0, t), t), 3000.0);
    EXPECT_EQ(ToAdcLevel(100.0, t), 2248.0);
}

TEST(XAxis, OneMegahertzMeasurementSpan)
{
    const double period = static_cast<double>(14.0L / 14.7456L);
    EXPECT_NEAR(SampleX(29999, 0, period, 1), 28482.12, 0.005);
    EXPECT_NEAR(SampleX(29999, 0, period, 1000), 28.482, 0.0005);
    EXPECT_NEAR(XStepFor(0, period, 1000), 0.000949, 0.0000005);
    EXPECT_EQ(XStepFor(2, period, 1000), 1.0);
    EXPECT_EQ(SampleX(29999, 2, period, 1000), 29999.0);
}

TEST(Smoother, RoundsTheOutputHalfToEvenButKeepsTheAccumulator)
{
    Smoother s(2);
    EXPECT_EQ(s.next(0), 0);
    EXPECT_EQ(s.next(5), 2);
    EXPECT_EQ(s.accumulator(), 2.5);
    EXPECT_EQ(s.next(5), 4);
    EXPECT_EQ(s.accumulator(), 3.75);

    Smoother first(8);
    EXPECT_EQ(first.next(1234), 1234);
}

TEST(ScaleControls, KeyFilter)
{
    EXPECT_EQ(FilterScaleKey(QLatin1Char('.')), QLatin1Char(','));
    for (char passes : {'-', '7', ',', '\b'})
        EXPECT_EQ(FilterScaleKey(QLatin1Char(passes)), QLatin1Char(passes));
    for (QChar dropped : {QChar('e'), QChar(' '), QChar(0x0431)})
        EXPECT_TRUE(FilterScaleKey(dropped).isNull());
}

TEST(ScaleControls, EnablingByDisplayMode)
{
    ScaleControlsEnabled all;
    all.cbRgm = all.cbExtShift = all.cbExtScale = all.eYTitle = all.emExtShift = all.emExtScale = true;
    const ScaleControlsEnabled off = cbShowKEnabling(3, 2, 2, all);
    EXPECT_FALSE(off.cbRgm || off.cbExtShift || off.cbExtScale || off.eYTitle || off.emExtShift ||
                 off.emExtScale);

    const ScaleControlsEnabled on = cbShowKEnabling(2, 1, 0, off);
    EXPECT_TRUE(on.cbRgm && on.cbExtShift && on.cbExtScale && on.eYTitle && on.emExtShift);
    EXPECT_FALSE(on.emExtScale);  // item 0 keeps the edit's state
    EXPECT_TRUE(cbShowKEnabling(0, 0, 0, all).emExtScale);
    EXPECT_FALSE(ExtEditEnabled(0));
    EXPECT_TRUE(ExtEditEnabled(2));
}
