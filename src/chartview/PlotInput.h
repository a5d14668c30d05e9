#pragma once
// The plot's mouse, wheel and key events: the only ones the chart's event filters act on.

#include <QEvent>

namespace korvel {

// Tested before a filter reads its plot pointer: a plot being destroyed still sends hide and
// close events from its QWidget part, when the pointer no longer points to a plot.
inline bool IsPlotInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        return true;
    default:
        return false;
    }
}

}  // namespace korvel
