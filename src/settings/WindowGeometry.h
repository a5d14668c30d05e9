#pragma once
// The window's place and size as the settings file gives them, fitted to the screens it can
// appear on. The file may come from a larger screen, another scale, or be damaged.

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

namespace korvel {

// The smallest window the layout is defined for.
inline constexpr QSize MinimumWindowSize{400, 300};

// left, top: the outer frame's corner; width, height: the window inside its frame. Returns
// the same kind of values: the frame lies wholly in the available area of the screen the saved
// window overlaps most (the first one when it overlaps none), and the window is no larger than
// that area and no smaller than minimum. Values that already fit are kept. With no screen the
// size is only held to the minimum.
QRect FitWindowGeometry(int left, int top, int width, int height, const QMargins& frame,
                        const QList<QRect>& screens, QSize minimum = MinimumWindowSize);

}  // namespace korvel
