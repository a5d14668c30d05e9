#pragma once
// A key of the window that presses one of its buttons: the button decides, so a disabled button
// (a file step with no folder, a save during a run) ignores its key as it ignores a click.

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>

namespace korvel {

inline void AddButtonKey(QAbstractButton* button, const QKeySequence& key)
{
    auto* shortcut = new QShortcut(key, button->window());
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
}

}  // namespace korvel
