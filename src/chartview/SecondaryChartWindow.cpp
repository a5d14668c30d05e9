#include "chartview/SecondaryChartWindow.h"

#include "chartview/ChartGeometry.h"
#include "chartview/PlaceOnScreen.h"
#include "chartview/ReadableAxisTicker.h"
#include "chartview/TemperatureAxis.h"
#include "ui_SecondaryChartWindow.h"

#include <QWindow>
#include <qcustomplot.h>

namespace korvel {

SecondaryChartWindow::SecondaryChartWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::SecondaryChartWindow>())
{
    ui->setupUi(this);
    move(214, 608);  // setupUi only sizes a top-level form
    QCustomPlot* c = ui->Chart1;
    c->legend->setVisible(false);

    c->yAxis->setTickLabels(false);
    c->yAxis->setLabel(QStringLiteral("XP14/2  XP14/3  XP2/8"));
    c->xAxis->setLabel(QStringLiteral("Выборки"));
    // Its numbers read as the main chart's above it.
    useReadableTicks(c->xAxis);

    styleTemperatureAxis(c->yAxis2);

    // Lines 1..3 at the fixed levels 5/4, 3/2, 1/0: line 1 on top.
    c->yAxis->setRange(-0.5, 5.5);
    const char* names[3] = {"SeriDgt1", "SeriDgt2", "SeriDgt3"};
    for (int i = 0; i < 3; ++i) {
        series_[i] = c->addGraph(c->xAxis, c->yAxis);
        series_[i]->setName(QString::fromLatin1(names[i]));
        series_[i]->setLineStyle(QCPGraph::lsStepLeft);  // a level holds until the next point
    }
    c->replot();  // lays the chart out, so the title can be fitted to it
    fitLeftTitle();

    connect(ui->sbTransparency, &QScrollBar::valueChanged, this,
            &SecondaryChartWindow::sbTransparencyChange);
}

SecondaryChartWindow::~SecondaryChartWindow() = default;

QCustomPlot* SecondaryChartWindow::chart() const
{
    return ui->Chart1;
}

void SecondaryChartWindow::FormCreate(const QColor& dgt1, const QColor& dgt2, const QColor& dgt3)
{
    const QColor colors[3] = {dgt1, dgt2, dgt3};
    for (int i = 0; i < 3; ++i)
        series_[i]->setPen(QPen(colors[i]));
}

int SecondaryChartWindow::transparency() const
{
    return ui->sbTransparency->value();
}

void SecondaryChartWindow::setTransparency(int value)
{
    ui->sbTransparency->setValue(value);
}

QScrollBar* SecondaryChartWindow::sbTransparency() const
{
    return ui->sbTransparency;
}

namespace {

QMargins frameOf(const QWidget* w)
{
    const QWindow* handle = w->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

}  // namespace

QMargins SecondaryChartWindow::frame() const
{
    const QMargins own = frameOf(this);
    return own.isNull() ? expectedFrame_ : own;
}

void SecondaryChartWindow::expectFrameOf(const QWidget* mainWindow)
{
    expectedFrame_ = frameOf(mainWindow);
}

void SecondaryChartWindow::setOuterGeometry(const QRect& outer)
{
    // Placed by its inner rectangle: a position given for the frame is taken for the inner
    // rectangle by the window system while the window is not yet framed.
    setGeometry(outer.marginsRemoved(frame()));
}

void SecondaryChartWindow::placeUnder(const QWidget* mainWindow)
{
    expectFrameOf(mainWindow);
    const QRect main = mainWindow->frameGeometry();
    // Under a main window that reaches the screen's bottom it would be off the screen: it then
    // rises over the main window's lower part, which it can be seen through.
    const QMargins m = frame();
    const QRect fit = FitOnScreens(geometry().left() - m.left(), main.y() + main.height(), width(),
                                   height(), m, minimumSize());
    setOuterGeometry(QRect(fit.topLeft(), fit.size().grownBy(m)));
}

void SecondaryChartWindow::alignWith(const QWidget* mainWindow, int mainLeftAxisX,
                                     int mainRightAxisX, const QString& bottomTitle)
{
    QCustomPlot* c = ui->Chart1;
    expectFrameOf(mainWindow);
    const QRect main = mainWindow->frameGeometry();
    QRect outer = geometry().marginsAdded(frame());
    outer.setLeft(main.left());
    outer.setWidth(main.width());
    setOuterGeometry(outer);
    // Both axis lines lie at the same distance from their windows' outer left edges.
    const int shift = frameOf(mainWindow).left() - frame().left();
    mainLeftAxisX += shift;
    mainRightAxisX += shift;
    // Where this chart draws its left axis inside itself, as of a fresh layout.
    fitLeftTitle();
    c->replot();
    const VerticalAxisPixels own = verticalAxisPixels(c);
    // The chart keeps a margin right of its plotting area too; the width carries it along so
    // that the plotting areas of both charts end at the same x.
    const int rightMargin = c->width() - own.right;
    const int chartLeft = mainLeftAxisX - own.left;
    const int chartWidth = own.left + mainRightAxisX - mainLeftAxisX + rightMargin;
    c->setGeometry(chartLeft, c->y(), chartWidth, c->height());
    ui->sbTransparency->move(chartLeft + chartWidth, ui->sbTransparency->y());
    c->xAxis->setLabel(bottomTitle);
}

void SecondaryChartWindow::showTimeRange(double lower, double upper)
{
    ui->Chart1->xAxis->setRange(lower, upper);
    ui->Chart1->replot();
}

void SecondaryChartWindow::sbTransparencyChange(int value)
{
    setWindowOpacity(value / 255.0);
    // Below 250 the traces are read against what lies behind; the time labels would only clutter.
    ui->Chart1->xAxis->setVisible(value >= 250);
    ui->Chart1->replot();
}

void SecondaryChartWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void SecondaryChartWindow::FormResize()
{
    const QMargins f = frame();
    ui->Chart1->resize(ui->Chart1->width(), height() + f.top() + f.bottom() - 40);
    fitLeftTitle();
}

void SecondaryChartWindow::fitLeftTitle()
{
    QCustomPlot* c = ui->Chart1;
    QCPAxis* left = c->yAxis;
    // The title is centred on the plotting area, which the chart's own layout last gave the
    // margins; a chart placed above the window's top loses as much at either end. A little
    // room is kept so that the title does not touch the edge.
    const QMargins m = c->axisRect()->margins();
    const int hidden = std::max(0, -(c->y() + m.top()));
    const int room = c->height() - m.top() - m.bottom() - 2 * hidden - 4;
    QFont font = c->font();
    const int needed = QFontMetrics(font).horizontalAdvance(left->label());
    if (room > 0 && needed > room) {
        const qreal scale = qreal(room) / needed;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * scale);
        else
            font.setPixelSize(std::max(1, int(font.pixelSize() * scale)));
    }
    left->setLabelFont(font);
}

}  // namespace korvel
