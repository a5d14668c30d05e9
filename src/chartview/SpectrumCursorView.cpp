#include "chartview/SpectrumCursorView.h"

#include "chartview/ChartHeader.h"
#include "chartview/PlotCursors.h"
#include "chartview/SpectrumChart.h"
#include "spectrum/SpectrumCursors.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QSignalBlocker>

namespace korvel {

SpectrumCursorView::SpectrumCursorView(SpectrumChart* chart, const SignalAnalysis& analysis)
    : QObject(chart), chart_(chart), analysis_(analysis),
      cursors_(new PlotCursors(chart, new ChartHeader(chart))), menu_(new QMenu(chart))
{
    cursors_->setIndexing([this](double x) { return qsizetype(SpectrumBinAt(analysis_, x)); },
                          [this](qsizetype bin) { return SpectrumBinX(analysis_, int(bin)); });

    cursorsAction_ = menu_->addAction(QStringLiteral("Курсоры"));
    cursorsAction_->setCheckable(true);
    harmonicsAction_ = menu_->addAction(QStringLiteral("Гармоники курсора A"));
    harmonicsAction_->setCheckable(true);
    harmonicsAction_->setEnabled(false);
    copyAction_ = menu_->addAction(QStringLiteral("Копировать значения курсоров"));
    copyAction_->setEnabled(false);

    connect(cursorsAction_, &QAction::toggled, cursors_, &PlotCursors::setShown);
    connect(cursors_, &PlotCursors::shownChanged, this, [this](bool shown) {
        const QSignalBlocker quiet(cursorsAction_);
        cursorsAction_->setChecked(shown);
        harmonicsAction_->setEnabled(shown);
        copyAction_->setEnabled(shown);
    });
    connect(cursors_, &PlotCursors::moved, this, [this] {
        xA_ = cursors_->cursorX(0);
        xB_ = cursors_->cursorX(1);
        showReadout();
    });
    connect(harmonicsAction_, &QAction::toggled, this, [this] {
        showReadout();
        cursors_->redraw();
    });
    connect(copyAction_, &QAction::triggered, this, [this] { copyReadout(); });

    // A click gives the chart the keyboard, for the key C.
    chart->setFocusPolicy(Qt::ClickFocus);
    chart->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(chart, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { menu_->popup(chart_->mapToGlobal(p)); });
}

void SpectrumCursorView::refresh()
{
    if (!cursors_->isShown())
        return;
    const qsizetype a = SpectrumBinAt(analysis_, xA_);
    const qsizetype b = SpectrumBinAt(analysis_, xB_);
    if (a == cursors_->indexA() && b == cursors_->indexB()) {
        showReadout();   // the same bins of another spectrum
        cursors_->redraw();
    } else {
        cursors_->setIndexes(a, b);
    }
}

void SpectrumCursorView::showReadout()
{
    if (!cursors_->isShown())
        return;
    const int a = int(cursors_->indexA());
    cursors_->setReadout(ReadSpectrumCursors(analysis_, a, int(cursors_->indexB())).lines);
    cursors_->setMarkers(harmonicsAction_->isChecked() ? HarmonicsOf(analysis_, a) : QVector<double>());
}

void SpectrumCursorView::copyReadout(QClipboard* clipboard) const
{
    if (!clipboard)
        clipboard = QGuiApplication::clipboard();
    if (clipboard && cursors_->isShown())
        clipboard->setText(cursors_->readout().join(u'\n'));
}

}  // namespace korvel
