#pragma once
// The floating panels of the main window (F/T, accelerometer, options, control outputs). A
// panel opens where it covers neither another open panel nor the progress panel of a run, as
// near its usual place as the window allows, and between the tool bars and the status bar.
// Where that is not to be had, it still leaves the run's cancel button free; only in a window
// too small for that the button stays above it.

#include <QHash>
#include <QList>
#include <QRect>
#include <optional>

class QWidget;

namespace korvel {

// The place nearest to usual (same size) that lies inside area and keeps gap pixels clear of
// every rectangle of clear; none when there is no such place.
std::optional<QRect> FreePlace(const QRect& usual, const QRect& area, const QList<QRect>& clear,
                               int gap);

// usual moved into area as far as its size allows (a panel larger than the area keeps to its
// top left corner).
QRect MovedInto(const QRect& usual, const QRect& area);

class FloatingPanels {
public:
    // The panels are children of parent, which also holds the cancel button; their places in
    // the form are their usual ones. Panels stay below top (the tool bars). The progress panel
    // may lie further down the widget tree.
    FloatingPanels(QWidget* parent, QList<QWidget*> panels, QWidget* progress, QWidget* cancel,
                   int top);

    // Places the panel, shows it and brings it to the front.
    void show(QWidget* panel);
    // The window's size changed or a run's progress panel appeared: the open panels are
    // placed again, in the order they were opened.
    void placeOpenPanels();

private:
    // Places panel clear of the others and of the live cancel button.
    void place(QWidget* panel, const QList<QWidget*>& others);
    QRect area() const;

    QWidget* parent_;
    QList<QWidget*> panels_;
    QWidget* progress_;
    QWidget* cancel_;
    int top_;
    QHash<QWidget*, QRect> usual_;
};

}  // namespace korvel
