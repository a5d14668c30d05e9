#include "app/FloatingPanels.h"

#include <QWidget>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace korvel {

namespace {

constexpr int Gap = 4;  // between a panel and what it keeps clear of

}  // namespace

std::optional<QRect> FreePlace(const QRect& usual, const QRect& area, const QList<QRect>& clear,
                               int gap)
{
    // The places worth trying: the usual one, against the area's edges, and beside, above or
    // below each rectangle to keep clear of.
    const int w = usual.width();
    const int h = usual.height();
    QList<int> xs{usual.x(), area.x(), area.x() + area.width() - w};
    QList<int> ys{usual.y(), area.y(), area.y() + area.height() - h};
    for (const QRect& r : clear) {
        xs << r.x() - gap - w << r.x() + r.width() + gap;
        ys << r.y() - gap - h << r.y() + r.height() + gap;
    }
    std::optional<QRect> best;
    int bestDistance = INT_MAX;
    for (int y : ys)
        for (int x : xs) {
            const QRect candidate(x, y, w, h);
            if (!area.contains(candidate))
                continue;
            const QRect withGap = candidate.adjusted(-gap, -gap, gap, gap);
            if (std::any_of(clear.begin(), clear.end(),
                            [&](const QRect& r) { return withGap.intersects(r); }))
                continue;
            const int distance = std::abs(x - usual.x()) + std::abs(y - usual.y());
            if (distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    return best;
}

QRect MovedInto(const QRect& usual, const QRect& area)
{
    QRect r = usual;
    r.moveLeft(std::max(area.x(), std::min(usual.x(), area.x() + area.width() - usual.width())));
    r.moveTop(std::max(area.y(), std::min(usual.y(), area.y() + area.height() - usual.height())));
    return r;
}

FloatingPanels::FloatingPanels(QWidget* parent, QList<QWidget*> panels, QWidget* progress,
                               QWidget* cancel, int top)
    : parent_(parent), panels_(std::move(panels)), progress_(progress), cancel_(cancel), top_(top)
{
    for (QWidget* p : panels_)
        usual_.insert(p, p->geometry());
}

QRect FloatingPanels::area() const
{
    return {0, top_, parent_->width(), parent_->height() - top_};
}

void FloatingPanels::show(QWidget* panel)
{
    QList<QWidget*> open;
    for (QWidget* other : panels_)
        if (other != panel && !other->isHidden())
            open.append(other);
    place(panel, open);
    panel->show();
    panel->raise();
    cancel_->raise();
}

void FloatingPanels::placeOpenPanels()
{
    // The parent's children are in stacking order: a panel keeps clear of those opened first.
    QList<QWidget*> placed;
    for (QObject* o : parent_->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !panels_.contains(w) || w->isHidden())
            continue;
        place(w, placed);
        placed.append(w);
    }
    cancel_->raise();
}

void FloatingPanels::place(QWidget* panel, const QList<QWidget*>& others)
{
    const QRect usual = usual_.value(panel);
    const QRect room = area();
    QList<QRect> open;
    for (const QWidget* other : others)
        open.append(other->geometry());
    // From the most to the least a panel keeps clear of; a run's cancel button is always kept.
    QList<QList<QRect>> choices{open};
    if (!progress_->isHidden()) {
        const QRect progress(progress_->mapTo(parent_, QPoint(0, 0)), progress_->size());
        const QRect cancel = cancel_->geometry();
        choices = {open + QList<QRect>{progress}, open + QList<QRect>{cancel}, {cancel}};
    }
    std::optional<QRect> spot;
    for (const QList<QRect>& clear : choices)
        if ((spot = FreePlace(usual, room, clear, Gap)))
            break;
    // Not even that (a window smaller than the panel): the button stays above the panel.
    panel->setGeometry(spot.value_or(MovedInto(usual, room)));
}

}  // namespace korvel
