#include "timing/FtCalculator.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

struct Worked {
    const char* typed;  // frequency typed into seF
    int Time4allSRAM;
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
    EXPECT_EQ(c.seTime().value(), w.Time4allSRAM);  // 8 blocks: the whole duration
    ASSERT_TRUE(c.divisors());
    EXPECT_EQ(*c.divisors(), w.pair);
    EXPECT_EQ(PeriodTicks(*c.divisors()), w.ticks);
    EXPECT_EQ(c.trueValues().lbF, QStringLiteral("Fвыборки,Гц=") + w.lbF);
    EXPECT_EQ(c.trueValues().lbT, QStringLiteral("Tизмерения,мc=") + w.lbT);
    EXPECT_EQ(c.trueValues().lbMinutes, QString::fromUtf8(w.lbMinutes));
    EXPECT_FALSE(c.lErrIn().visible);
}

FtCalculator typedFrequency(const char* text, int blocks = 8)
{
    FtCalculator c(blocks, 10000, 2400);
    c.open();
    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, text);
    return c;
}

}  // namespace

TEST(FtCalculator, OpeningAndTheWorkedFrequencies)
{
    FtCalculator opened;  // start-up defaults: 8 blocks, 10000 ms, 2400 Hz
    EXPECT_FALSE(opened.divisors());
    opened.open();
    EXPECT_EQ(opened.seF().text(), "24000");
    expectTrue(opened, {"open", 10000, {197, 1}, 615, "23976,585", "10009,766",
                        "или  0 мин 10 c 9,766 мс"});

    const Worked table[] = {
        {"240", 1000000, {224, 91}, 61446, "239,977", "1000097,656", "или 16 мин 40 c 97,656 мс"},
        {"2400", 100000, {12, 157}, 6144, "2400,000", "100000,000", "или  1 мин 40 c 0,000 мс"},
        {"1000", 240000, {222, 22}, 14739, "1000,448", "239892,578", "или  3 мин 59 c 892,578 мс"},
        {"100000", 2400, {41, 1}, 147, "100310,204", "2392,578", "или  0 мин  2 c 392,578 мс"},
        {"546133", 439, {1, 1}, 27, "546133,333", "439,453", "или  0 мин  0 c 439,453 мс"},
        {"75", 3200000, {256, 255}, 196626, "74,993", "3200292,969", "или 53 мин 20 c 292,969 мс"},
    };
    for (const Worked& w : table)
        expectTrue(typedFrequency(w.typed), w);
}

TEST(FtCalculator, OneBlockShowsAnEighthOfTheDuration)
{
    FtCalculator c(1, 10000, 2400);
    EXPECT_EQ(c.seTime().text(), "1250");
    c.open();
    EXPECT_EQ(c.Time4allSRAM(), 10000);
    EXPECT_EQ(c.trueValues().lbT, QStringLiteral("Tизмерения,мc=1251,221"));

    // Going to 8 blocks and back through the sample count keeps the frequency the master.
    FtCalculator s;
    s.open();
    s.typeText(FtField::seSamples, "3");  // no characters can be typed there
    EXPECT_EQ(s.SRAMblocks(), 8);
    s.stepBy(FtField::seSamples, -7);
    EXPECT_EQ(s.SRAMblocks(), 1);
    EXPECT_EQ(s.seTime().text(), "1250");
    EXPECT_EQ(s.trueValues().lbT, QStringLiteral("Tизмерения,мc=1251,221"));
}

TEST(FtCalculator, FrequencyOutOfRangeBlinksAndUsesTheExtremePair)
{
    FtCalculator c = typedFrequency("70");
    EXPECT_EQ(c.lErrIn().text, QStringLiteral("Fвыборки, Гц<75"));
    EXPECT_TRUE(c.lErrIn().visible);
    EXPECT_TRUE(c.lErrIn().blinking);
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 256}));
    EXPECT_EQ(c.trueValues().lbF, QStringLiteral("Fвыборки,Гц=74,700"));
    c.TimErrColorTimer();
    EXPECT_TRUE(c.lErrIn().yellow);

    c.typeText(FtField::seF, "600000");
    EXPECT_EQ(c.lErrIn().text, QStringLiteral("Fвыборки, Гц>546133"));
    EXPECT_EQ(*c.divisors(), (DivisorPair{1, 1}));
}

TEST(FtCalculator, LeavingAnOutOfRangeFrequencyRecomputesFromTheClampedOne)
{
    FtCalculator c = typedFrequency("70");
    c.setFocus(FtFocus::Other);
    EXPECT_EQ(c.seF().text(), "75");
    EXPECT_EQ(c.Time4allSRAM(), 3200000);
    EXPECT_EQ(c.seTime().text(), "3200000");
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 255}));
    EXPECT_FALSE(c.lErrIn().visible);
    EXPECT_FALSE(c.lErrIn().blinking);

    c = typedFrequency("900000");
    c.setFocus(FtFocus::seTime);
    EXPECT_EQ(c.seF().text(), "546133");
    EXPECT_EQ(c.Time4allSRAM(), 439);
    EXPECT_EQ(*c.divisors(), (DivisorPair{1, 1}));
}

TEST(FtCalculator, DurationLimitsDependOnTheBlockCount)
{
    FtCalculator eight;
    eight.open();
    eight.typeText(FtField::seTime, "100");
    EXPECT_EQ(eight.lErrIn().text, QStringLiteral("Tизмерения, мс<439"));
    EXPECT_EQ(eight.seF().text(), "546133");
    EXPECT_EQ(*eight.divisors(), (DivisorPair{1, 1}));
    eight.typeText(FtField::seTime, "999999999");  // saturates rather than wrapping negative
    EXPECT_EQ(eight.lErrIn().text, QStringLiteral("Tизмерения, мс>3212841"));
    EXPECT_EQ(*eight.divisors(), (DivisorPair{256, 256}));

    FtCalculator one(1, 10000, 2400);
    one.open();
    one.typeText(FtField::seTime, "100");
    EXPECT_EQ(one.Time4allSRAM(), 800);
    EXPECT_FALSE(one.lErrIn().visible);
    one.typeText(FtField::seTime, "50");
    EXPECT_EQ(one.lErrIn().text, QStringLiteral("Tизмерения, мс<54"));
    EXPECT_EQ(one.trueValues().lbT, QStringLiteral("Tизмерения,мc=54,932"));
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
}

TEST(FtCalculator, HandlersActOnlyWithTheFocusAndEmptyTextReadsAsTheMinimum)
{
    FtCalculator c;
    c.open();
    c.setFocus(FtFocus::Other);
    c.typeText(FtField::seF, "5000");
    EXPECT_EQ(c.Time4allSRAM(), 10000);
    c.setFocus(FtFocus::seF);
    c.typeText(FtField::seF, "0");
    EXPECT_EQ(c.Time4allSRAM(), 10000);
    c.typeText(FtField::seF, "");
    EXPECT_EQ(c.Time4allSRAM(), 3200000);
    EXPECT_EQ(*c.divisors(), (DivisorPair{256, 255}));
}

TEST(FtCalculator, AStoredDurationOfZeroOrLessIsKeptAndTheFieldClamps)
{
    for (const int stored : {0, -250}) {
        SCOPED_TRACE(stored);
        FtCalculator c(8, stored, 2400);
        EXPECT_EQ(c.Time4allSRAM(), stored);
        EXPECT_EQ(c.seTime().value(), 439);
        c.setFocus(FtFocus::seF);
        c.setFocus(FtFocus::Other);
        EXPECT_EQ(c.seF().value(), 546133);
    }
}
