// The restored window fitted to the screens: what fits is kept, what does not is brought
// within the screen and above the minimum size.
#include "settings/WindowGeometry.h"

#include <climits>
#include <gtest/gtest.h>

using namespace korvel;

namespace {
const QMargins openboxAtScale2(1, 10, 1, 3);
}

TEST(WindowGeometry, AWindowThatFitsKeepsItsPlaceAndSize)
{
    const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    EXPECT_EQ(FitWindowGeometry(100, 50, 794, 515, openboxAtScale2, screens), QRect(100, 50, 794, 515));
    // On the second screen it stays there.
    EXPECT_EQ(FitWindowGeometry(2000, 400, 794, 515, openboxAtScale2, screens),
              QRect(2000, 400, 794, 515));
}

TEST(WindowGeometry, TooLargeOrOffTheScreensOrTooSmallIsFitted)
{
    // 1600 x 1000 saved at 100 %, restored at 200 % on the same screen.
    const QList<QRect> halved{QRect(0, 0, 800, 500)};
    EXPECT_EQ(FitWindowGeometry(0, 0, 1600, 1000, openboxAtScale2, halved), QRect(0, 0, 798, 487));
    EXPECT_EQ(FitWindowGeometry(0, 0, 30000, 30000, openboxAtScale2, halved), QRect(0, 0, 798, 487));
    EXPECT_EQ(FitWindowGeometry(INT_MAX, INT_MAX, INT_MAX, INT_MAX, openboxAtScale2, halved),
              QRect(0, 0, 798, 487));

    const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    // Off every screen: onto the first one.
    EXPECT_EQ(FitWindowGeometry(-5000, -4000, 794, 515, {}, screens), QRect(0, 0, 794, 515));
    // Half off the second screen's right edge: moved in.
    EXPECT_EQ(FitWindowGeometry(2600, 900, 794, 515, {}, screens), QRect(2880 - 794, 1024 - 515, 794, 515));
    // A negative size: the minimum.
    EXPECT_EQ(FitWindowGeometry(10, 20, -5, -30, {}, screens), QRect(10, 20, 400, 300));
}
