#include "chartview/TemperatureAxis.h"

#include "chart/AxisRounding.h"

#include <qcustomplot.h>

namespace korvel {

namespace {

class TemperatureTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override
    {
        return TemperatureTickStep(range.size());
    }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override
    {
        return TemperatureLabel(tick);
    }
};

}  // namespace

void styleTemperatureAxis(QCPAxis* axis)
{
    const QPen red(Qt::red);
    axis->setBasePen(red);
    axis->setTickPen(red);
    axis->setSubTickPen(red);
    axis->setSubTicks(false);
    axis->setTickLabelColor(Qt::red);
    axis->setLabelColor(Qt::red);
    axis->setLabel(QStringLiteral("T°C"));
    axis->setTicker(QSharedPointer<QCPAxisTicker>(new TemperatureTicker));
    axis->grid()->setVisible(false);
}

}  // namespace korvel
