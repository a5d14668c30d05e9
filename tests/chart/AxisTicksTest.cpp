// Axis numbers: fixed notation with the locale's grouping, and no two labels touching.
#include "chart/AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvel;

namespace {

// A font of 7 pixels a character.
double sevenPixelsEach(const QString& s)
{
    return 7.0 * s.size();
}

// Neighbouring labels, centred on their ticks, keep the gap between them.
void expectApart(const AxisTicks& t, double lower, double upper, const AxisTickSpace& space)
{
    const double perValue = space.lengthPixels / (upper - lower);
    for (qsizetype i = 1; i < t.values.size(); ++i) {
        const double distance = (t.values[i] - t.values[i - 1]) * perValue;
        const double halves = (sevenPixelsEach(t.labels[i]) + sevenPixelsEach(t.labels[i - 1])) / 2;
        EXPECT_GE(distance, halves + space.gapPixels) << t.labels[i].toStdString();
    }
}

}  // namespace

TEST(AxisTicks, LongNumbersAreGroupedAsTheLocaleGroupsDigitsNeverInExponentForm)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(TickLabel(1000000.0, 0, ru), QStringLiteral("1\u00a0000\u00a0000"));
    EXPECT_EQ(TickLabel(-0.0, 1, ru), QStringLiteral("0,0"));
    EXPECT_EQ(TickLabel(25000000.0, 0, QLocale::c()), QStringLiteral("25000000"));

    AxisTickSpace space;
    space.lengthPixels = 800;
    const AxisTicks t = ChooseAxisTicks(0.0, 28482120.0, space, sevenPixelsEach, ru);
    ASSERT_GE(t.values.size(), 2);
    for (const QString& label : t.labels) {
        EXPECT_FALSE(label.contains(u'E') || label.contains(u'e')) << label.toStdString();
        EXPECT_EQ(label.toStdString().find('.'), std::string::npos);
    }
    EXPECT_EQ(t.labels.front(), QStringLiteral("0"));
    EXPECT_TRUE(t.labels[1].contains(u'\u00a0'));
}

TEST(AxisTicks, LongLabelsOnANarrowAxisGetFewerTicksButNeverTouch)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    AxisTickSpace narrow;
    narrow.lengthPixels = 250;
    AxisTickSpace wide;
    wide.lengthPixels = 1600;
    // 100000 .. 200000 once ran together as "100000150000200000".
    const AxisTicks few = ChooseAxisTicks(100000.0, 200000.0, narrow, sevenPixelsEach, ru);
    const AxisTicks many = ChooseAxisTicks(100000.0, 200000.0, wide, sevenPixelsEach, ru);
    expectApart(few, 100000.0, 200000.0, narrow);
    expectApart(many, 100000.0, 200000.0, wide);
    EXPECT_GE(few.values.size(), 2);
    EXPECT_GT(many.values.size(), few.values.size());

    // Every step is 1, 2, 2.5 or 5 times a power of ten, with the decimals it needs.
    for (const AxisTicks* t : {&few, &many}) {
        const double mantissa = t->step / std::pow(10.0, std::floor(std::log10(t->step)));
        EXPECT_TRUE(mantissa == 1.0 || mantissa == 2.0 || mantissa == 2.5 || mantissa == 5.0) << t->step;
        EXPECT_EQ(t->decimals, 0);
    }
    const AxisTicks fine = ChooseAxisTicks(0.0, 1.0, wide, sevenPixelsEach, ru);
    EXPECT_GT(fine.decimals, 0);
    EXPECT_TRUE(fine.labels.contains(QStringLiteral("0,5")) || fine.labels.contains(QStringLiteral("0,50")));
}

TEST(AxisTicks, NoRangeNoTicks)
{
    AxisTickSpace space;
    space.lengthPixels = 800;
    EXPECT_TRUE(ChooseAxisTicks(5.0, 5.0, space, sevenPixelsEach, QLocale::c()).values.isEmpty());
    EXPECT_TRUE(ChooseAxisTicks(0.0, INFINITY, space, sevenPixelsEach, QLocale::c()).values.isEmpty());
    // Counting 10^-4 steps from 10^12 runs out of a double's digits: no ticks rather than no end.
    EXPECT_TRUE(ChooseAxisTicks(1e12, 1e12 + 1e-3, space, sevenPixelsEach, QLocale::c()).values.isEmpty());
}
