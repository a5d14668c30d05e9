// The chart widgets: the main chart's series and axes, and the secondary window's form and
// behaviour (blending, resize, colours).
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <gtest/gtest.h>

using namespace korvel;

TEST(ChartView, StartsWithItsSeriesAndAxesAsTheWindowExpects)
{
    ChartView c;
    // The six series in drawing order, each in its colour.
    const struct {
        QString name;
        QCPGraph* graph;
        QColor colour;
    } series[] = {
        {QStringLiteral("Series1"), c.Series1(), QColor(Qt::black)},
        {QStringLiteral("SeriDgt3"), c.SeriDgt3(), QColor(0, 0, 255)},
        {QStringLiteral("SeriDgt1"), c.SeriDgt1(), QColor(255, 255, 0)},
        {QStringLiteral("SeriDgt2"), c.SeriDgt2(), QColor(0, 128, 0)},
        {QStringLiteral("Series2"), c.Series2(), QColor(Qt::blue)},
        {QStringLiteral("SeriTermo"), c.SeriTermo(), QColor(Qt::red)},
    };
    ASSERT_EQ(c.graphCount(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(series[i].name.toStdString());
        EXPECT_EQ(c.graph(i)->name(), series[i].name);
        EXPECT_EQ(c.series(series[i].name), c.graph(i));
        EXPECT_EQ(series[i].graph, c.graph(i));
        EXPECT_EQ(c.seriesColor(series[i].graph), series[i].colour);
    }
    EXPECT_EQ(c.series(QStringLiteral("nothing")), nullptr);
    // Only the temperature has the right axis.
    for (QCPGraph* g : c.allSeries())
        EXPECT_EQ(g->valueAxis(), g == c.SeriTermo() ? c.rightAxis() : c.leftAxis());

    // The axes' titles; the temperature axis stays hidden, red and without a grid.
    const struct {
        QCPAxis* axis;
        QString label;
    } axes[] = {
        {c.leftAxis(), QStringLiteral("единицы АЦП")},
        {c.bottomAxis(), QStringLiteral("Выборки")},
        {c.rightAxis(), QStringLiteral("T°C")},
    };
    for (const auto& a : axes)
        EXPECT_EQ(a.axis->label(), a.label);
    EXPECT_FALSE(c.legend->visible());
    EXPECT_FALSE(c.rightAxis()->visible());
    EXPECT_EQ(c.rightAxis()->labelColor(), QColor(Qt::red));
    EXPECT_FALSE(c.rightAxis()->grid()->visible());
}

TEST(ChartView, ColourReferencesKeepRedInTheLowByte)
{
    EXPECT_EQ(ColorFromRef(65535), QColor(255, 255, 0));
    EXPECT_EQ(ColorFromRef(16711680), QColor(0, 0, 255));
    EXPECT_EQ(RefFromColor(QColor(0, 128, 0)), 32768);
    EXPECT_EQ(RefFromColor(ColorFromRef(0x123456)), 0x123456);
}

TEST(SecondaryChartWindow, StartsHiddenWithItsForm)
{
    SecondaryChartWindow w;
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.geometry(), QRect(214, 608, 805, 203));
    const QScrollBar* sb = w.findChild<QScrollBar*>(QStringLiteral("sbTransparency"));
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(sb->orientation(), Qt::Vertical);
    EXPECT_EQ(sb->minimum(), 120);
    EXPECT_EQ(sb->maximum(), 255);
    EXPECT_EQ(sb->value(), 255);
    QCustomPlot* c = w.chart();
    EXPECT_EQ(c->graphCount(), 3);
    EXPECT_EQ(c->graph(0), w.SeriDgt1());
    EXPECT_EQ(c->graph(2), w.SeriDgt3());
    EXPECT_EQ(c->yAxis->label(), QStringLiteral("XP14/2  XP14/3  XP2/8"));
    EXPECT_FALSE(c->yAxis->tickLabels());
    EXPECT_EQ(c->xAxis->label(), QStringLiteral("Выборки"));
}

TEST(SecondaryChartWindow, BlendingHidesTheTimeAxisBelow250)
{
    SecondaryChartWindow w;
    w.setTransparency(249);
    EXPECT_FALSE(w.chart()->xAxis->visible());
    EXPECT_NEAR(w.windowOpacity(), 249 / 255.0, 0.01);
    w.setTransparency(250);
    EXPECT_TRUE(w.chart()->xAxis->visible());
    w.setTransparency(50);
    EXPECT_EQ(w.transparency(), 120);
}

TEST(SecondaryChartWindow, LeftTitleFitsInsideTheWindow)
{
    SecondaryChartWindow w;
    w.show();
    QCustomPlot* c = w.chart();
    c->replot();
    // The title is centred on the plotting area; the chart may start above the window's top.
    const QRect area = c->axisRect()->rect().translated(c->pos());
    const int half = QFontMetrics(c->yAxis->labelFont()).horizontalAdvance(c->yAxis->label()) / 2;
    EXPECT_GE(area.center().y() - half, 0);
    EXPECT_LE(area.center().y() + half, area.bottom());
}

TEST(ChartView, DigitalLinesHoldTheirLevelUntilTheNextPointInBothWindows)
{
    ChartView c;
    SecondaryChartWindow w;
    for (QCPGraph* g : {c.SeriDgt1(), c.SeriDgt2(), c.SeriDgt3(), w.SeriDgt1(), w.SeriDgt2(),
                        w.SeriDgt3()})
        EXPECT_EQ(g->lineStyle(), QCPGraph::lsStepLeft) << g->name().toStdString();
    EXPECT_EQ(c.Series1()->lineStyle(), QCPGraph::lsLine);
}

TEST(SecondaryChartWindow, ChartFollowsTheWindowHeightAndTakesTheMainColours)
{
    SecondaryChartWindow w;
    w.show();
    // The outer height counts: title bar and borders included (an offscreen window has them too).
    const QMargins frame = w.windowHandle()->frameMargins();
    ASSERT_GT(frame.top() + frame.bottom(), 0);
    w.resize(805, 300 - frame.top() - frame.bottom());
    EXPECT_EQ(w.frameGeometry().height(), 300);
    EXPECT_EQ(w.chart()->height(), 260);
    w.FormCreate(Qt::magenta, Qt::cyan, Qt::darkRed);
    EXPECT_EQ(w.SeriDgt1()->pen().color(), QColor(Qt::magenta));
    EXPECT_EQ(w.SeriDgt2()->pen().color(), QColor(Qt::cyan));
    EXPECT_EQ(w.SeriDgt3()->pen().color(), QColor(Qt::darkRed));
}

TEST(SecondaryChartWindow, UnderAMainWindowReachingTheScreenBottomStaysOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget main;
    main.show();
    main.setGeometry(screen.adjusted(0, 30, 0, -30));
    SecondaryChartWindow w;
    const int height = w.height();
    w.placeUnder(&main);
    EXPECT_TRUE(screen.contains(w.frameGeometry())) << w.frameGeometry().top();
    EXPECT_EQ(w.height(), height);
}

TEST(ChartView, ALongTimeAxisReadsInGroupedDigitsWithRoomBetweenLabels)
{
    // Twenty-eight million microseconds on a chart made narrow after it was drawn wide: the
    // ticks are chosen before the layout, for the width it is about to get.
    ChartView c;
    c.resize(900, 300);
    c.show();   // a hidden widget hears of its new size only when shown
    c.bottomAxis()->setRange(0.0, 28482120.0);
    c.replot();
    c.resize(420, 300);   // replots
    const QVector<QString> labels = c.bottomAxis()->tickVectorLabels();
    const QVector<double> ticks = c.bottomAxis()->tickVector();
    ASSERT_GE(labels.size(), 2);
    const QFontMetricsF metrics(c.bottomAxis()->tickLabelFont());
    for (qsizetype i = 0; i < labels.size(); ++i) {
        EXPECT_FALSE(labels[i].contains(u'e') || labels[i].contains(u'E') || labels[i].contains(u'·'))
            << labels[i].toStdString();
        if (i > 0) {
            const double apart = c.bottomAxis()->coordToPixel(ticks[i]) - c.bottomAxis()->coordToPixel(ticks[i - 1]);
            EXPECT_GT(apart, (metrics.horizontalAdvance(labels[i]) + metrics.horizontalAdvance(labels[i - 1])) / 2);
        }
    }
    EXPECT_TRUE(labels[1].contains(u'\u00a0')) << labels[1].toStdString();
}
