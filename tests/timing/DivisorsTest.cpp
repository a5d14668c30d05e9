#include "timing/Divisors.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(FindDivisors, SearchTracesImproveAtTheKnownSteps)
{
    std::vector<int> trace;
    EXPECT_EQ(FindDivisors(10000, {}, &trace), (DivisorPair{197, 1}));
    EXPECT_EQ(trace, (std::vector<int>{1, 2, 5, 8, 10, 17, 21, 32, 65, 98, 197}));

    trace.clear();
    EXPECT_EQ(FindDivisors(1000000, {}, &trace), (DivisorPair{224, 91}));
    EXPECT_EQ(trace, (std::vector<int>{79, 85, 88, 90, 104, 116, 174, 194, 224}));
}

TEST(FindDivisors, EveryDurationOfTheRangeHasAPairWithinLimits)
{
    for (int t = 439; t <= 3212842; t += 97) {
        const std::optional<DivisorPair> p = FindDivisors(t);
        ASSERT_TRUE(p) << t;
        ASSERT_GE(p->d1, 1);
        ASSERT_LE(p->d1, 256);
        ASSERT_GE(p->d2, 1);
        ASSERT_LE(p->d2, 256);
    }
    EXPECT_TRUE(FindDivisors(439));
    EXPECT_EQ(FindDivisors(3212842), (DivisorPair{256, 256}));
}

TEST(FindDivisors, FocusLimitsGiveTheExtremePairs)
{
    EXPECT_FALSE(FindDivisors(3428571));  // 70 Hz: no pair reaches that far
    EXPECT_EQ(FindDivisors(3428571, {CalcFocus::seF, 70}), (DivisorPair{256, 256}));
    EXPECT_EQ(FindDivisors(400, {CalcFocus::seF, 600000}), (DivisorPair{1, 1}));
    EXPECT_EQ(FindDivisors(100, {CalcFocus::seTime, 0}), (DivisorPair{1, 1}));
    EXPECT_EQ(FindDivisors(3212842, {CalcFocus::seTime, 0}), (DivisorPair{256, 256}));
    // The frequency limit looks at the frequency field only while it has the focus.
    EXPECT_EQ(FindDivisors(10000, {CalcFocus::seTime, 70}), (DivisorPair{197, 1}));
}

TEST(ShowTrueValues, TextsCarryTheirLatinLettersAndPadding)
{
    const TrueValues v = ShowTrueValues({197, 1}, 8);
    EXPECT_EQ(PeriodTicks({197, 1}), 615);
    EXPECT_EQ(v.lbF, QString::fromUtf8("F\u0432\u044B\u0431\u043E\u0440\u043A\u0438,\u0413\u0446=23976,585"));
    EXPECT_EQ(v.lbT, QString::fromUtf8("T\u0438\u0437\u043C\u0435\u0440\u0435\u043D\u0438\u044F,\u043Cc=10009,766"));
    EXPECT_EQ(v.lbMinutes, QString::fromUtf8("\u0438\u043B\u0438  0 \u043C\u0438\u043D 10 c 9,766 \u043C\u0441"));
    EXPECT_EQ(v.lbDly, QStringLiteral("Параметры для МК: d1=197,d2=1"));
    EXPECT_EQ(PeriodTicks({1, 1}), 27);
    EXPECT_EQ(PeriodTicks({256, 256}), 197397);
}
