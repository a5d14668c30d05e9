// The arithmetic of looking round the chart (wheel, keys, middle-button drag) and the zoom
// history's steps.
#include "chart/ViewRanges.h"
#include "chart/ZoomHistory.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvel;

TEST(ViewRanges, AWheelNotchZoomsByAQuarterAboutTheMouseAndTheOppositeNotchUndoesIt)
{
    const AxisSpan view{0.0, 1000.0};
    // 250 keeps its place: a quarter of the way across before and after.
    const auto in = ZoomedAbout(view, 250.0, WheelZoomFactor(WheelNotch));
    ASSERT_TRUE(in);
    EXPECT_DOUBLE_EQ(in->lower, 250.0 - 250.0 / 1.25);
    EXPECT_DOUBLE_EQ(in->upper, 250.0 + 750.0 / 1.25);
    EXPECT_DOUBLE_EQ((250.0 - in->lower) / in->width(), 0.25);

    const auto out = ZoomedAbout(*in, 250.0, WheelZoomFactor(-WheelNotch));
    ASSERT_TRUE(out);
    EXPECT_NEAR(out->lower, 0.0, 1e-9);
    EXPECT_NEAR(out->upper, 1000.0, 1e-9);

    // Two notches at once are two steps; a fine wheel's half notch is half a step.
    EXPECT_DOUBLE_EQ(WheelZoomFactor(2 * WheelNotch), 1.25 * 1.25);
    EXPECT_DOUBLE_EQ(WheelZoomFactor(WheelNotch / 2), std::sqrt(1.25));
}

TEST(ViewRanges, AZoomBeyondWhatNumbersResolveIsRefused)
{
    // A window of 10^-7 at 10^6 has run out of a double's digits for another thousandfold.
    EXPECT_FALSE(ZoomedAbout({1e6, 1e6 + 1e-7}, 1e6, 1000.0));
    EXPECT_FALSE(ZoomedAbout({0.0, 1.0}, 0.5, 0.0));
    EXPECT_FALSE(ZoomedAbout({0.0, 1.0}, std::nan(""), 2.0));
    EXPECT_FALSE(ZoomedAbout({0.0, 1e299}, 0.0, 1e-3));
    EXPECT_TRUE(ZoomedAbout({1e6, 1e6 + 1e-3}, 1e6, 2.0));
}

TEST(ViewRanges, KeysMoveByATenthAndTheMiddleButtonDragsTheContentWithTheMouse)
{
    EXPECT_EQ(ShiftedBy({100.0, 200.0}, -0.1), (AxisSpan{90.0, 190.0}));
    EXPECT_EQ(ShiftedBy({100.0, 200.0}, 0.1), (AxisSpan{110.0, 210.0}));
    // 80 pixels to the right on an 800-pixel axis showing 1000: what stood at 100 now stands
    // under the mouse at 180, so the window starts 100 lower.
    EXPECT_EQ(DraggedBy({0.0, 1000.0}, 80.0, 800.0), (AxisSpan{-100.0, 900.0}));
    EXPECT_EQ(DraggedBy({0.0, 1000.0}, 80.0, 0.0), (AxisSpan{0.0, 1000.0}));
}

namespace {

ViewRanges view(double from, double to)
{
    return {{from, to}, {0.0, 1.0}, {0.0, 1.0}};
}

}  // namespace

TEST(ZoomHistory, ARunOfWheelNotchesIsOneStepAndStepsComeBackNewestFirst)
{
    using Step = ZoomHistory::Step;
    ZoomHistory h;
    h.record(std::nullopt, Step::New, 0);          // a rectangle zoom from the automatic axes
    h.record(view(0, 100), Step::WheelNotch, 1000);
    h.record(view(10, 90), Step::WheelNotch, 1400);     // 0.4 s later: the same run
    h.record(view(20, 80), Step::WheelNotch, 1899);     // and again
    h.record(view(25, 75), Step::WheelNotch, 2399);     // 0.5 s after the last: a new run
    h.record(view(30, 70), Step::New, 2400);            // a key
    h.record(view(40, 60), Step::WheelNotch, 2450);     // a key in between ends a run
    ASSERT_EQ(h.size(), 5u);

    EXPECT_EQ(h.back(), std::optional<HistoryView>(view(40, 60)));
    EXPECT_EQ(h.back(), std::optional<HistoryView>(view(30, 70)));
    EXPECT_EQ(h.back(), std::optional<HistoryView>(view(25, 75)));
    EXPECT_EQ(h.back(), std::optional<HistoryView>(view(0, 100)));
    EXPECT_EQ(h.back(), std::optional<HistoryView>(HistoryView()));   // the automatic axes
    EXPECT_EQ(h.back(), std::nullopt);
}

TEST(ZoomHistory, ADragIsOneStepNewDataClearsAndTheOldestStepsGo)
{
    using Step = ZoomHistory::Step;
    ZoomHistory h;
    h.record(view(0, 100), Step::New, 0);
    for (int i = 1; i < 50; ++i)
        h.record(view(i, 100 + i), Step::Continued, i);
    EXPECT_EQ(h.size(), 1u);
    h.clear();
    EXPECT_TRUE(h.isEmpty());

    for (int i = 0; i < int(ZoomHistory::Depth) + 5; ++i)
        h.record(view(i, i + 1), Step::New, i);
    EXPECT_EQ(h.size(), ZoomHistory::Depth);
    HistoryView oldest;
    while (const auto v = h.back())
        oldest = *v;
    EXPECT_EQ(oldest, HistoryView(view(5, 6)));
}
