#include "chartview/ChartView.h"

#include "chartview/TemperatureAxis.h"
#include "chartview/ZoomGesture.h"

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

    // Shown only with a temperature trace.
    styleTemperatureAxis(yAxis2);
    yAxis2->setTickLabels(true);
    yAxis2->setVisible(false);

    zoom_ = new ZoomGesture(this);
    setToolTip(ZoomGesture::toolTip());
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
