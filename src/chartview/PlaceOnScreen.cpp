#include "chartview/PlaceOnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace korvel {

QRect FitOnScreens(int left, int top, int width, int height, const QMargins& frame, QSize minimum)
{
    // The primary screen first: a window saved off every screen goes there.
    QList<QRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* s : QGuiApplication::screens())
        screens.insert(s == primary ? 0 : screens.size(), s->availableGeometry());
    return FitWindowGeometry(left, top, width, height, frame, screens, minimum);
}

void PlaceOnScreen(QWidget* window, int left, int top, int width, int height,
                   const QMargins& expectedFrame)
{
    const QWindow* handle = window->windowHandle();
    const QMargins own = handle ? handle->frameMargins() : QMargins();
    const QRect r = FitOnScreens(left, top, width, height, own.isNull() ? expectedFrame : own,
                                 window->minimumSize().expandedTo(MinimumWindowSize));
    window->resize(r.size());
    window->move(r.topLeft());
}

QPoint BesideWindow(const QRect& main, const QRect& screen, int width, int height, int top)
{
    return {std::clamp(main.right() + 1, screen.left(), std::max(screen.left(), screen.right() - width)),
            std::clamp(top, screen.top(), std::max(screen.top(), screen.bottom() - height))};
}

}  // namespace korvel
