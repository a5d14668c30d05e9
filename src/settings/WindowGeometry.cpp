#include "settings/WindowGeometry.h"

#include <algorithm>

namespace korvel {

namespace {

// Computed wide: the saved numbers can be anything an int holds.
qint64 overlap(qint64 a0, qint64 a1, qint64 b0, qint64 b1)
{
    return std::max<qint64>(0, std::min(a1, b1) - std::max(a0, b0));
}

int fitSpan(int saved, int lowest, int highest)
{
    return static_cast<int>(std::clamp<qint64>(saved, lowest, std::max(lowest, highest)));
}

}  // namespace

QRect FitWindowGeometry(int left, int top, int width, int height, const QMargins& frame,
                        const QList<QRect>& screens, QSize minimum)
{
    const int frameW = frame.left() + frame.right();
    const int frameH = frame.top() + frame.bottom();
    if (screens.isEmpty())
        return QRect(left, top, std::max(width, minimum.width()), std::max(height, minimum.height()));

    const qint64 x0 = left;
    const qint64 y0 = top;
    const qint64 x1 = x0 + std::max(width, 0) + frameW;
    const qint64 y1 = y0 + std::max(height, 0) + frameH;
    QRect area = screens.first();
    qint64 best = 0;
    for (const QRect& s : screens) {
        const qint64 shared = overlap(x0, x1, s.left(), s.left() + qint64(s.width()))
                              * overlap(y0, y1, s.top(), s.top() + qint64(s.height()));
        if (shared > best) {
            best = shared;
            area = s;
        }
    }

    const int w = fitSpan(width, minimum.width(), area.width() - frameW);
    const int h = fitSpan(height, minimum.height(), area.height() - frameH);
    const int x = fitSpan(left, area.left(), area.left() + area.width() - (w + frameW));
    const int y = fitSpan(top, area.top(), area.top() + area.height() - (h + frameH));
    return QRect(x, y, w, h);
}

}  // namespace korvel
