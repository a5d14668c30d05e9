#pragma once
// The strip at the top of the main window: column titles over the tool bars. Every control is
// as wide as the longest caption it wears and every column as wide as its title, so no caption
// is cut. A window too narrow for all the columns shows those that fit whole, followed by a
// "»" button whose menu reaches the buttons of the others.

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class QAbstractButton;
class QLabel;
class QMenu;
class QToolButton;
class QWidget;

namespace korvel {

class ToolStrip : public QObject {
public:
    // A title over the controls under it, left to right; controls in one cell are stacked
    // (they share the cell's x and width and keep their own y and height).
    struct Column {
        QLabel* title = nullptr;
        QWidget* bar = nullptr;
        QList<QList<QWidget*>> cells;
    };

    // titles: the strip of column titles; bars: the strip of tool bars under it. Both are
    // children of the same widget, which the "»" button joins.
    ToolStrip(QWidget* titles, QWidget* bars, QList<Column> columns);

    // Captions a control wears at other times, besides its present one.
    void reserveCaptions(QWidget* control, const QStringList& captions);

    // Lays the strip out for an area this wide.
    void fitTo(int width);

    // The button of the columns that do not fit; hidden while all of them do.
    QToolButton* moreButton() const { return more_; }

private:
    int neededWidth(QWidget* control) const;
    void fillMenu();

    QWidget* titles_;
    QWidget* bars_;
    QList<Column> columns_;
    QHash<QWidget*, QStringList> reserved_;
    // Widths the form gives the icon buttons, which carry no caption to measure.
    QHash<QWidget*, int> formWidths_;
    QToolButton* more_;
    QMenu* menu_;
    qsizetype shownColumns_ = 0;
};

}  // namespace korvel
