#include "chartview/ChartView.h"

#include "chartview/ChartHeader.h"
#include "chartview/ChartLegend.h"
#include "chartview/ChartNavigation.h"
#include "chartview/PlotCursors.h"
#include "chartview/ReadableAxisTicker.h"
#include "chartview/TemperatureAxis.h"
#include "chartview/ZoomGesture.h"
#include "record/DigitalLineNames.h"

namespace korvel {

ChartView::ChartView(QWidget* parent) : QCustomPlot(parent)
{
    setNoAntialiasingOnDrag(true);
    legend->setVisible(false);
    axisRect()->setAutoMargins(QCP::msAll);

    struct Def {
        const char* name;
        QColor color;
        bool right;
        bool digital;
    };
    // Drawing order: later series are painted over earlier ones.
    const Def defs[6] = {
        {"Series1", Qt::black, false, false},
        {"SeriDgt3", ColorFromRef(16711680), false, true},
        {"SeriDgt1", ColorFromRef(65535), false, true},
        {"SeriDgt2", ColorFromRef(32768), false, true},
        {"Series2", Qt::blue, false, false},
        {"SeriTermo", Qt::red, true, false},
    };
    for (int i = 0; i < 6; ++i) {
        QCPGraph* g = addGraph(xAxis, defs[i].right ? yAxis2 : yAxis);
        g->setName(QString::fromLatin1(defs[i].name));
        g->setPen(QPen(defs[i].color));
        g->setAdaptiveSampling(true);
        // A digital level holds until the next sample; a ramp between two would show a level
        // the line never had.
        if (defs[i].digital)
            g->setLineStyle(QCPGraph::lsStepLeft);
        series_[i] = g;
    }

    yAxis->setLabel(QStringLiteral("единицы АЦП"));
    xAxis->setLabel(QStringLiteral("Выборки"));
    useReadableTicks(xAxis);
    useReadableTicks(yAxis);

    // Shown only with a temperature trace.
    styleTemperatureAxis(yAxis2);
    yAxis2->setTickLabels(true);
    yAxis2->setVisible(false);

    // In this order: each event filter sees the events the ones made after it let through.
    zoom_ = new ZoomGesture(this);
    navigation_ = new ChartNavigation(this, zoom_);
    header_ = new ChartHeader(this);
    cursors_ = new PlotCursors(this, header_);
    setToolTip(ZoomGesture::toolTip() + u'\n' + ChartNavigation::toolTip());
    legend_ = new ChartLegend(this, header_, {Series1(), Series2(), SeriDgt1(), SeriDgt2(), SeriDgt3(), SeriTermo()},
                              [this](const QCPGraph* g) { return traceName(g); });
}

QString ChartView::traceName(const QCPGraph* g) const
{
    const bool twoChannels = Series2()->dataCount() > 0;
    if (g == Series1()) {
        if (twoChannels)
            return QStringLiteral("Канал X");
        // The values' axis has no title when the user gave the Y name none.
        return yAxis->label().isEmpty() ? QStringLiteral("Сигнал") : yAxis->label();
    }
    if (g == Series2())
        return QStringLiteral("Канал Y");
    const QCPGraph* lines[3] = {SeriDgt1(), SeriDgt2(), SeriDgt3()};
    for (int line = 0; line < 3; ++line)
        if (g == lines[line])
            return DigitalLineName(line);
    if (g == SeriTermo())
        return QStringLiteral("Температура, °C");
    return {};
}

QCPGraph* ChartView::series(const QString& name) const
{
    for (QCPGraph* g : series_)
        if (g->name() == name)
            return g;
    return nullptr;
}

void ChartView::setSeriesColor(QCPGraph* g, const QColor& c)
{
    QPen p = g->pen();
    p.setColor(c);
    g->setPen(p);
}

QColor ColorFromRef(int ref)
{
    return QColor(ref & 0xff, (ref >> 8) & 0xff, (ref >> 16) & 0xff);
}

int RefFromColor(const QColor& c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

}  // namespace korvel
