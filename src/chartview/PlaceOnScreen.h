#pragma once
// Top-level windows put at a place and size that come from the settings file or from another
// window, as far as the screens allow: the file may come from a larger screen, another scale,
// or be damaged.

#include "settings/WindowGeometry.h"

#include <QMargins>
#include <QRect>

class QWidget;

namespace korvel {

// FitWindowGeometry over the available areas of the screens there are now.
QRect FitOnScreens(int left, int top, int width, int height, const QMargins& frame,
                   QSize minimum = MinimumWindowSize);

// left, top: the outer frame's corner; width, height: the window inside it. The frame is the
// window's own once the window manager has framed it, expectedFrame before.
void PlaceOnScreen(QWidget* window, int left, int top, int width, int height,
                   const QMargins& expectedFrame = {});

// The corner of a window of width × height right of the main window where the screen has room
// (over the main window's right part otherwise), at the height top, kept on the screen.
QPoint BesideWindow(const QRect& main, const QRect& screen, int width, int height, int top);

}  // namespace korvel
