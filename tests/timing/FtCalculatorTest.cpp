#include "timing/FtCalculator.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

struct Worked {
    const char* typed;  // frequency typed into seF
    int Time4allSRAM;
    const char* otherField;
    DivisorPair pair;
    int ticks;
    const char* lbF;
    const char* lbT;
    const char* lbMinutes;
};

void expectTrue(const FtCalculator& c, const Worked& w)
{
    SCOPED_TRACE(w.typed);
    EXPECT_EQ(c.Time4allSRAM(), w.Time4allSRAM);
    ASSERT_TRUE(c.divisors());
    EXPECT_EQ(*c.divisors(), w.pair);
    EXPECT_EQ(PeriodTicks(*c.divisors()), w.ticks);
    EXPECT_EQ(c.trueValues().lbF, QStringLiteral("Fвыборки,Гц=") + w.lbF);
    EXPECT_EQ(c.trueValues().lbT, QStringLiteral("Tизмерения,мc=") + w.lbT);
    EXPECT_EQ(c.trueValues().lbMinutes, QString::fromUtf8(w.lbMinutes));
}

}  // namespace

TEST(FtCalculator, OpeningComputesFromTheDurationField)
{
    FtCalculator c;  // start-up defaults: 8 blocks, 10000 ms, 2400 Hz
    EXPECT_FALSE(c.divisors());
    c.open();
    EXPECT_EQ(c.focus(), FtFocus::seTime);
    EXPECT_EQ(c.seF().text(), "24000");
    expectTrue(c, {"open", 10000, "", {197, 1}, 615, "23976,585", "10009,766",
                   "или  0 мин 10 c 9,766 мс"});
    EXPECT_EQ(c.trueValues().lbDly, QStringLiteral("Параметры для МК: d1=197,d2=1"));
}

TEST(FtCalculator, WorkedFrequencies)
{
    const Worked table[] = {
        {"240", 1000000, "1000000", {224, 91}, 61446, "239,977", "1000097,656",
         "или 16 мин 40 c 97,656 мс"},
        {"2400", 100000, "100000", {12, 157}, 6144, "2400,000", "100000,000",
         "или  1 мин 40 c 0,000 мс"},
        {"1000", 240000, "240000", {222, 22}, 14739, "1000,448", "239892,578",
         "или  3 мин 59 c 892,578 мс"},
        {"100000", 2400, "2400", {41, 1}, 147, "100310,204", "2392,578",
         "или  0 мин  2 c 392,578 мс"},
        {"546133", 439, "439", {1, 1}, 27, "546133,333", "439,453",
         "или  0 мин  0 c 439,453 мс"},
        {"75", 3200000, "3200000", {256, 255}, 196626, "74,993", "3200292,969",
         "или 53 мин 20 c 292,969 мс"},
    };
    for (const Worked& w : table) {
        FtCalculator c;
        c.open();
        c.setFocus(FtFocus::seF);
        c.typeText(FtField::seF, w.typed);
        EXPECT_EQ(c.seTime().text(), w.otherField) << w.typed;
        expectTrue(c, w);
        EXPECT_FALSE(c.lErrIn().visible);
    }
}

TEST(FtCalculator, OneBlockShowsAnEighthOfTheDuration)
{
    FtCalculator c(1, 10000, 2400);
    EXPECT_EQ(c.seTime().text(), "1250");
    EXPECT_EQ(c.seSamples().text(), "30000");
    c.open();
    EXPECT_EQ(c.Time4allSRAM(), 10000);
    EXPECT_EQ(c.trueValues().lbT, QStringLiteral("Tизмерения,мc=1251,221"));
}

TEST(FtCalculator, FrequencyBelowTheRangeBlinksAndUsesTheSlowestPair)
{
    FtCalculator c;
    c.open();
    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, "70");
    EXPECT_EQ(c.lErrIn().text, QStringLiteral("Fвыборки, Гц<75"));
    EXPECT_TRUE(c.lErrIn().visible);
    EXPECT_TRUE(c.lErrIn().blinking);
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 256}));
    EXPECT_EQ(c.trueValues().lbF, QStringLiteral("Fвыборки,Гц=74,700"));

    c.typeText(FtField::seF, "600000");
    EXPECT_EQ(c.lErrIn().text, QStringLiteral("Fвыборки, Гц>546133"));
    EXPECT_EQ(*c.divisors(), (DivisorPair{1, 1}));
}

TEST(FtCalculator, LeavingAnOutOfRangeFrequencyRecomputesFromTheClampedOne)
{
    FtCalculator c;
    c.open();
    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, "70");
    c.setFocus(FtFocus::Other);
    EXPECT_EQ(c.seF().text(), "75");
    EXPECT_EQ(c.Time4allSRAM(), 3200000);
    EXPECT_EQ(c.seTime().text(), "3200000");
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 255}));
    EXPECT_FALSE(c.lErrIn().visible);
    EXPECT_FALSE(c.lErrIn().blinking);

    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, "900000");
    c.setFocus(FtFocus::seTime);
    EXPECT_EQ(c.seF().text(), "546133");
    EXPECT_EQ(c.Time4allSRAM(), 439);
    EXPECT_EQ(*c.divisors(), (DivisorPair{1, 1}));
}

TEST(FtCalculator, ShortDurationsAndTheirLimitTexts)
{
    FtCalculator eight;
    eight.open();
    eight.typeText(FtField::seTime, "100");
    EXPECT_EQ(eight.lErrIn().text, QStringLiteral("Tизмерения, мс<439"));
    EXPECT_TRUE(eight.lErrIn().visible);
    EXPECT_EQ(eight.seF().text(), "546133");
    EXPECT_EQ(*eight.divisors(), (DivisorPair{1, 1}));

    FtCalculator one(1, 10000, 2400);
    one.open();
    one.typeText(FtField::seTime, "100");
    EXPECT_EQ(one.Time4allSRAM(), 800);
    EXPECT_FALSE(one.lErrIn().visible);
    one.typeText(FtField::seTime, "50");
    EXPECT_EQ(one.lErrIn().text, QStringLiteral("Tизмерения, мс<54"));
    EXPECT_TRUE(one.lErrIn().visible);
    // The labels tell the true, shorter duration the field cannot show.
    EXPECT_EQ(one.trueValues().lbT, QStringLiteral("Tизмерения,мc=54,932"));
}

TEST(FtCalculator, LongDurationsSaturateAndShowTheirLimit)
{
    FtCalculator c;
    c.open();
    c.typeText(FtField::seTime, "999999999");
    EXPECT_EQ(c.lErrIn().text, QStringLiteral("Tизмерения, мс>3212841"));
    EXPECT_EQ(c.seF().text(), "75");
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 256}));
}

TEST(FtCalculator, EmptyFrequencyTextReadsAsTheMinimum)
{
    FtCalculator c;
    c.open();
    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, "");
    EXPECT_EQ(c.seF().value(), 75);
    EXPECT_EQ(c.Time4allSRAM(), 3200000);
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 255}));
}

TEST(FtCalculator, HandlersActOnlyWhileTheirFieldHasTheFocus)
{
    FtCalculator c;
    c.open();
    c.setFocus(FtFocus::Other);
    const int before = c.Time4allSRAM();
    c.typeText(FtField::seF, "5000");
    EXPECT_EQ(c.Time4allSRAM(), before);
    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, "0");
    EXPECT_EQ(c.Time4allSRAM(), before);
}

TEST(FtCalculator, LeavingTheDurationSnapsItToTheWholeHertzFrequency)
{
    FtCalculator c;
    c.open();
    c.typeText(FtField::seTime, "3212842");
    EXPECT_EQ(c.seF().text(), "75");
    c.setFocus(FtFocus::Other);
    EXPECT_EQ(c.Time4allSRAM(), 3200000);
    EXPECT_EQ(c.seTime().text(), "3200000");
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 255}));
}

TEST(FtCalculator, SampleCountChangesTheBlocksAndTheDuration)
{
    FtCalculator c;
    c.open();
    EXPECT_EQ(c.seSamples().text(), "240000");
    c.typeText(FtField::seSamples, "3");  // no characters can be typed there
    EXPECT_EQ(c.seSamples().text(), "240000");
    c.stepBy(FtField::seSamples, -7);
    EXPECT_EQ(c.SRAMblocks(), 1);
    EXPECT_EQ(c.Time4allSRAM(), 10000);  // from the 24000 Hz frequency
    EXPECT_EQ(c.seTime().text(), "1250");
    EXPECT_EQ(c.trueValues().lbT, QStringLiteral("Tизмерения,мc=1251,221"));
    c.stepBy(FtField::seSamples, -1);  // clamps at 30000: nothing changes
    EXPECT_EQ(c.SRAMblocks(), 1);
}

TEST(FtCalculator, ErrorColourTogglesAndAnyStepStopsTheBlinking)
{
    FtCalculator c;
    EXPECT_TRUE(c.lErrIn().blinking);
    EXPECT_FALSE(c.lErrIn().visible);
    c.TimErrColorTimer();
    EXPECT_TRUE(c.lErrIn().yellow);
    c.TimErrColorTimer();
    EXPECT_FALSE(c.lErrIn().yellow);
    c.open();
    EXPECT_FALSE(c.lErrIn().blinking);
}
