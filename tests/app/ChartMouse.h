#pragma once
// The user's hand on the chart: mouse moves and drags delivered to the chart widget, and the
// pixel that the chart's own bottom axis maps to a given value; a ramp to look at.

#include "WindowRig.h"
#include "chartview/ChartView.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <cmath>
#include <limits>

namespace korvel::testing {

// A pixel X that the axis maps back to exactly value (pixel positions are real numbers in a
// mouse event, so a tie such as 10.5 can be hit exactly).
inline double pixelFor(const QCPAxis* axis, double value)
{
    double p = axis->coordToPixel(value);
    for (int i = 0; i < 1000 && axis->pixelToCoord(p) != value; ++i) {
        const bool below = axis->pixelToCoord(p) < value;
        p = std::nextafter(p, below ? std::numeric_limits<double>::infinity()
                                    : -std::numeric_limits<double>::infinity());
    }
    return p;
}

inline void sendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button)
{
    // A move names no button of its own, only the one held; after a release none is held.
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease
                                      ? Qt::MouseButtons(Qt::NoButton)
                                      : Qt::MouseButtons(button);
    const Qt::MouseButton own = type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent e(type, pos, w->mapToGlobal(pos), own, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The mouse over the chart, no button held, at the bottom-axis value x.
inline void hoverAt(ChartView& c, double x)
{
    sendMouse(&c, QEvent::MouseMove, QPointF(pixelFor(c.bottomAxis(), x), c.height() / 2.0),
              Qt::NoButton);
}

// A left-button drag inside the plotting area, in the area's own pixels.
inline void dragOnChart(ChartView& c, QPoint from, QPoint to)
{
    const QPoint origin = c.axisRect()->rect().topLeft();
    sendMouse(&c, QEvent::MouseButtonPress, origin + from, Qt::LeftButton);
    sendMouse(&c, QEvent::MouseMove, origin + to, Qt::LeftButton);
    sendMouse(&c, QEvent::MouseButtonRelease, origin + to, Qt::LeftButton);
}

// A rising signal 0..3999 in ADC units over sample numbers; oddSampleBits set in every odd
// sample's word (a digital line switching at each sample).
inline void showRamp(WindowRig& w, quint16 oddSampleBits = 0)
{
    QByteArray data;
    for (int i = 0; i < 4000; ++i)
        data += Words({static_cast<quint16>(i | (i % 2 ? oddSampleBits : 0))});
    w.setData(data);
    choose(w.f().cbShowK, 1);
    w.window->ShowChart(MainWindow::ChartOrigin::timRx);
}

}  // namespace korvel::testing
