#include "app/StatusPanel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace korvel {

QRect StatusPanel::textArea() const
{
    // As QLabel places its text: inside the frame, its margin and, with a frame, half an "x".
    const int indentBy = indent() >= 0 ? indent()
                         : frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                            : 0;
    return contentsRect().adjusted(margin() + indentBy, margin(), -(margin() + indentBy), -margin());
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = textArea();
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                          fontMetrics().elidedText(text(), Qt::ElideRight, area.width()),
                          foregroundRole());
}

bool StatusPanel::event(QEvent* event)
{
    // Without a tip of its own the status bar's hint shows, as on every panel that fits.
    if (event->type() == QEvent::ToolTip) {
        const bool cut = fontMetrics().horizontalAdvance(text()) > textArea().width();
        setToolTip(cut ? text() : QString());
    }
    return QLabel::event(event);
}

}  // namespace korvel
