// The spectrum window's cursors: switched from the chart's pop-up menu, reading two known tones,
// harmonic markers of A on request, and the same frequencies kept when the spectrum is computed
// again over another stretch.
#include "chart/PlottedSignal.h"
#include "chartview/PlotCursors.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumCursorView.h"
#include "chartview/SpectrumWindow.h"
#include "settings/SpectrumSettings.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace korvel;

namespace {

// 100 kHz sampling (X in µs, 10 apart), 1 at 1 kHz and 0.5 at 3 kHz.
PlottedSignal twoTones(int n)
{
    PlottedSignal s;
    s.samplePeriodSeconds = 1e-5;
    SignalChannel c;
    for (int i = 0; i < n; ++i)
        c.points.append(i * 10.0, std::sin(2 * std::numbers::pi * 1000 * i * 1e-5)
                                      + 0.5 * std::sin(2 * std::numbers::pi * 3000 * i * 1e-5));
    s.channels.push_back(c);
    return s;
}

int visibleMarkers(const SpectrumChart* chart)
{
    int n = 0;
    for (int i = 0; i < chart->itemCount(); ++i) {
        const auto* line = qobject_cast<QCPItemLine*>(chart->item(i));
        n += line && line->visible() && line->pen().style() == Qt::DashLine;
    }
    return n;
}

}  // namespace

TEST(SpectrumCursorView, ReadsTwoTonesMarksHarmonicsAndKeepsTheirFrequencies)
{
    SpectrumWindow w;
    w.resize(760, 520);
    SpectrumSettings rectangular;
    rectangular.window = 1;
    w.applyChoices(rectangular);
    w.setSignal(twoTones(2000), QStringLiteral("В"), {Qt::black}, 0.0, 19990.0);
    SpectrumCursorView* view = w.cursorView();
    PlotCursors* cursors = view->cursors();

    view->cursorsAction()->trigger();
    ASSERT_TRUE(cursors->isShown());
    EXPECT_TRUE(view->harmonicsAction()->isEnabled());
    // Bins are 50 Hz apart over 2000 points: 1 kHz is bin 20, 3 kHz bin 60.
    cursors->setIndexes(20, 60);
    EXPECT_EQ(cursors->readout(),
              (QStringList{QStringLiteral("A: f = 1,000 кГц; A = 1"), QStringLiteral("B: f = 3,000 кГц; A = 0,5"),
                           QStringLiteral("Δf = 2,000 кГц; ΔL = -6,0 дБ")}));
    EXPECT_EQ(visibleMarkers(w.chart()), 0);
    view->harmonicsAction()->trigger();
    EXPECT_EQ(visibleMarkers(w.chart()), 9);

    // Half the stretch: bins 100 Hz apart, the cursors stay at 1 and 3 kHz.
    w.setRange(0.0, 9990.0);
    EXPECT_EQ(cursors->indexA(), 10);
    EXPECT_EQ(cursors->indexB(), 30);
    EXPECT_EQ(cursors->readout().at(0), QStringLiteral("A: f = 1,00 кГц; A = 1"));

    view->copyAction()->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), cursors->readout().join(u'\n'));
    view->cursorsAction()->trigger();
    EXPECT_FALSE(cursors->isShown());
    EXPECT_EQ(visibleMarkers(w.chart()), 0);
}
