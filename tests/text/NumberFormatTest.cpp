#include "text/NumberFormat.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace korvel;

TEST(Rounding, TiesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_EQ(Round(4.375), 4);
}

TEST(Format, FloatsUseTheLocaleSeparatorAndTwoDecimalsByDefault)
{
    EXPECT_EQ(Format(u"Kацп=%f; СДВИГ=%d (ini-файл)", {1.0, 0}), "Kацп=1,00; СДВИГ=0 (ini-файл)");
    EXPECT_EQ(Format(u"%4.1f градусов", {5.0}), " 5,0 градусов");
    EXPECT_EQ(Format(u"%4.1f", {-10.125}), "-10,1");
    EXPECT_EQ(Format(u"Fвыборки,Гц=%0.3f", {23976.585365853658}), "Fвыборки,Гц=23976,585");
    EXPECT_EQ(Format(u"X=%f", {1234567.0}), "X=1234567,00");  // no digit grouping
}

TEST(Format, IntegersPadWithBlanksByWidthAndWithZerosByPrecision)
{
    EXPECT_EQ(Format(u"или %2d мин %2d c", {3, 59}), "или  3 мин 59 c");
    EXPECT_EQ(Format(u"%.2d:%.2d", {1, 5}), "01:05");
    EXPECT_EQ(Format(u"d1=%0d,d2=%0d", {197, 1}), "d1=197,d2=1");
    EXPECT_EQ(Format(u"%.2d", {-3}), "-03");
    EXPECT_EQ(Format(u"%s_%d%%", {"a", 7}), "a_7%");
}

TEST(Format, PointLocaleKeepsThePoint)
{
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(Format(u"%f", {0.5}), "0.50");
    EXPECT_EQ(FloatToStr(1.0), "1");
    EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("1,5", &v));
    QLocale::setDefault(saved);
}

TEST(Conversion, FloatsAcceptOnlyTheLocaleSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat("1,0"), 1.0);
    EXPECT_DOUBLE_EQ(StrToFloat(" -99999,0 "), -99999.0);
    EXPECT_DOUBLE_EQ(StrToFloat("0,5"), 0.5);
    double v = 7;
    EXPECT_FALSE(TryStrToFloat("1.0", &v));
    EXPECT_FALSE(TryStrToFloat("", &v));
    EXPECT_FALSE(TryStrToFloat("--1", &v));
    EXPECT_FALSE(TryStrToFloat("1,,0", &v));
    EXPECT_EQ(v, 7);
    EXPECT_THROW(StrToFloat("abc"), ConversionError);
    try {
        StrToFloat("1x");
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.message().contains("«1x»"));
    }
}

TEST(Conversion, IntegersRejectFractionsAndOverflow)
{
    EXPECT_EQ(StrToInt("-10"), -10);
    EXPECT_EQ(StrToInt("+7"), 7);
    int v = 0;
    EXPECT_FALSE(TryStrToInt("1,0", &v));
    EXPECT_FALSE(TryStrToInt("--1", &v));
    EXPECT_FALSE(TryStrToInt("", &v));
    EXPECT_FALSE(TryStrToInt("4294967296", &v));
    EXPECT_THROW(StrToInt("x"), ConversionError);
}

TEST(Conversion, GeneralFormatHasFifteenSignificantDigits)
{
    EXPECT_EQ(FloatToStr(1.0), "1");
    EXPECT_EQ(FloatToStr(0.61), "0,61");
    EXPECT_EQ(FloatToStr(-1.0), "-1");
    EXPECT_EQ(FloatToStr(1.0 / 3.0), "0,333333333333333");
}

TEST(Format, ByteCountsTakeTheRussianPluralOfTheWord)
{
    const std::pair<int, const char*> cases[] = {
        {1, "1 байт"},     {2, "2 байта"},     {4, "4 байта"},     {5, "5 байт"},
        {11, "11 байт"},   {12, "12 байт"},    {21, "21 байт"},    {22, "22 байта"},
        {112, "112 байт"}, {502, "502 байта"}, {1002, "1002 байта"}, {530, "530 байт"},
    };
    for (const auto& [n, text] : cases)
        EXPECT_EQ(BytesText(n), QString::fromUtf8(text));
}
