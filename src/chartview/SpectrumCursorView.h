#pragma once
// The spectrum window's cursors A and B over frequency: switched from the chart's pop-up menu
// (or the key C), read out as f, amplitude, Δf and the level of B against A, with markers at
// the harmonics of A's frequency when they are switched on.

#include <QObject>
#include <QStringList>

class QAction;
class QClipboard;
class QMenu;

namespace korvel {

class PlotCursors;
class SpectrumChart;
struct SignalAnalysis;

class SpectrumCursorView : public QObject {
    Q_OBJECT
public:
    // analysis: what the chart shows, kept up to date by the window, which calls refresh().
    SpectrumCursorView(SpectrumChart* chart, const SignalAnalysis& analysis);

    PlotCursors* cursors() const { return cursors_; }
    QMenu* menu() const { return menu_; }
    QAction* cursorsAction() const { return cursorsAction_; }
    QAction* harmonicsAction() const { return harmonicsAction_; }
    QAction* copyAction() const { return copyAction_; }

    // A new spectrum: the cursors keep their frequencies, on the nearest bins of the new one.
    void refresh();
    // The read-out's lines as text; a null clipboard means the application's.
    void copyReadout(QClipboard* clipboard = nullptr) const;

private:
    void showReadout();

    SpectrumChart* chart_;
    const SignalAnalysis& analysis_;
    PlotCursors* cursors_;
    QMenu* menu_;
    QAction* cursorsAction_;
    QAction* harmonicsAction_;
    QAction* copyAction_;
    double xA_ = 0.0;   // the cursors' frequencies in the axis' unit
    double xB_ = 0.0;
};

}  // namespace korvel
