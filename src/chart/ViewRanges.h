#pragma once
// The visible ranges of the main chart's axes and the arithmetic of the gestures that move
// them: zoom about a value (the wheel, the keys), shift by a fraction (the arrow keys) and
// drag by pixels (the middle button).

#include <optional>

namespace korvel {

struct AxisSpan {
    double lower = 0.0;
    double upper = 0.0;

    double width() const { return upper - lower; }
    bool operator==(const AxisSpan&) const = default;
};

// Bottom (X), left (signal) and right (temperature) axes.
struct ViewRanges {
    AxisSpan bottom;
    AxisSpan left;
    AxisSpan right;

    bool operator==(const ViewRanges&) const = default;
};

// One notch of the wheel zooms by this factor; the keys + and − too.
inline constexpr double ZoomStep = 1.25;
// A wheel reports its turn in eighths of a degree; a notch is 15 degrees.
inline constexpr int WheelNotch = 120;

// The factor for a turn of the wheel: ZoomStep per notch, in for a turn away from the user;
// a fine-grained wheel or touchpad gives the fraction of a notch it turned.
double WheelZoomFactor(int angleDelta);

// The span made factor times narrower (wider below 1) with the value `about` kept where it
// is on the screen. Nothing when the result would be too narrow to tell its ends apart, or
// too wide to be a number.
std::optional<AxisSpan> ZoomedAbout(AxisSpan span, double about, double factor);

// The span moved by a fraction of its width: 0.1 is a tenth toward larger values.
AxisSpan ShiftedBy(AxisSpan span, double fraction);

// The span that keeps the values under the mouse when the mouse moved by `pixels` along an
// axis `lengthPixels` long (toward larger values: positive), starting from `start`.
AxisSpan DraggedBy(AxisSpan start, double pixels, double lengthPixels);

}  // namespace korvel
