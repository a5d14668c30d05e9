#pragma once
// The font colour of a control's caption (buttons draw it as ButtonText, labels and check
// boxes as WindowText, so both are set).

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace korvel {

inline void SetCaptionColour(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

}  // namespace korvel
