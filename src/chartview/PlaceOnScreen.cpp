#include "chartview/PlaceOnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

}  // namespace korvel
