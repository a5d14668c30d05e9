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

TEST(FindDivisors, EveryDurationOfTheRangeHasAPairAndOutsideOnlyTheLimitsGiveOne)
{
    for (int t = 439; t <= 3212842; t += 97) {
        const std::optional<DivisorPair> p = FindDivisors(t);
        ASSERT_TRUE(p) << t;
        ASSERT_TRUE(p->d1 >= 1 && p->d1 <= 256 && p->d2 >= 1 && p->d2 <= 256) << t;
    }
    EXPECT_EQ(FindDivisors(3212842), (DivisorPair{256, 256}));
    EXPECT_FALSE(FindDivisors(3428571));  // 70 Hz
    EXPECT_EQ(FindDivisors(3428571, {CalcFocus::seF, 70}), (DivisorPair{256, 256}));
    // The frequency limit looks at the frequency field only while it has the focus.
    EXPECT_EQ(FindDivisors(10000, {CalcFocus::seTime, 70}), (DivisorPair{197, 1}));
}

TEST(ShowTrueValues, DivisorLabelAndTheExtremePeriods)
{
    EXPECT_EQ(ShowTrueValues({12, 157}, 8).lbDly, QStringLiteral("Параметры для МК: d1=12,d2=157"));
    EXPECT_EQ(PeriodTicks({1, 1}), 27);
    EXPECT_EQ(PeriodTicks({256, 256}), 197397);
}
