#pragma once
// The red temperature axis shared by the main chart and the secondary window.

class QCPAxis;

namespace korvel {

// Red line, ticks, labels and title "T°C", no grid or minor ticks, and ticks at least a tenth
// of a degree apart labelled "#.#", so that no two labels read the same.
void styleTemperatureAxis(QCPAxis* axis);

}  // namespace korvel
