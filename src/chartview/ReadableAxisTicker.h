#pragma once
// Axis numbers people read without thinking: fixed notation with the locale's digit grouping,
// and fewer ticks when the labels are long, so that they never run into each other.

class QCPAxis;

namespace korvel {

// Gives the axis a ticker of that kind for good.
void useReadableTicks(QCPAxis* axis);

}  // namespace korvel
