// The chart's header strip: read-out lines broken after "; " to the width there is, legend
// entries side by side as far as they fit. Widths are counted at 10 pixels a character.
#include "chart/HeaderLayout.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

double tenPerCharacter(const QString& s)
{
    return 10.0 * s.size();
}

}  // namespace

TEST(HeaderLayout, AReadOutLineBreaksAfterItsSeparatorsOnlyWhereItMust)
{
    const QStringList lines{QStringLiteral("A: X = 50; Y = 7; XP2 H"), QStringLiteral("ΔY = 0")};
    // 23 characters fit in 230 pixels: nothing breaks.
    EXPECT_EQ(WrapReadout(lines, 230, tenPerCharacter), lines);
    // "A: X = 50; Y = 7;" is 17 characters: the third piece goes to a line of its own, indented.
    EXPECT_EQ(WrapReadout(lines, 170, tenPerCharacter, QStringLiteral("  ")),
              (QStringList{QStringLiteral("A: X = 50; Y = 7;"), QStringLiteral("  XP2 H"),
                           QStringLiteral("ΔY = 0")}));
    // Narrower than any piece: one piece a line, none cut.
    EXPECT_EQ(WrapReadout(lines, 30, tenPerCharacter, QStringLiteral("  ")),
              (QStringList{QStringLiteral("A: X = 50;"), QStringLiteral("  Y = 7;"), QStringLiteral("  XP2 H"),
                           QStringLiteral("ΔY = 0")}));
}

TEST(HeaderLayout, LegendEntriesGoSideBySideAsFarAsTheyFit)
{
    const std::vector<double> widths{100, 80, 120, 50};
    EXPECT_EQ(LegendRows(widths, 1000, 10), (std::vector<int>{4}));
    // 100 + 10 + 80 = 190 fits in 200; the 120 does not, and starts the next row with the 50.
    EXPECT_EQ(LegendRows(widths, 200, 10), (std::vector<int>{2, 2}));
    // An entry wider than the room still gets its row.
    EXPECT_EQ(LegendRows(widths, 90, 10), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_TRUE(LegendRows({}, 100, 10).empty());
}
