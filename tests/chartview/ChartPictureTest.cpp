#include "PlotFixture.h"

#include "chartview/ChartGeometry.h"
#include "chartview/ChartPicture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct PictureFixture : ::testing::Test {
    TestPlot t{400, 300};
    const QColor grey{64, 64, 64};
    const QColor navy{0, 0, 90};

    PictureFixture()
    {
        fillGraph(t.graphs.Series1, makeSeries(100, [](int i) { return i % 10; }));
        autoscaleAxes(t.plot.get());
        setChartBackgroundColor(t.plot.get(), grey);
        t.plot->axisRect()->setBackground(QBrush(navy));
        t.plot->replot();
    }
};

TEST_F(PictureFixture, ClipboardGetsVectorAndBitmapOnWhite)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    copyChartToClipboard(t.plot.get());

    const QMimeData* mime = clipboard->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray svg = mime->data(QString::fromLatin1(SvgMimeType));
    EXPECT_TRUE(svg.contains("<svg") && svg.contains("</svg>"));
    EXPECT_TRUE(svg.contains("#ffffff"));
    EXPECT_FALSE(svg.contains("#404040") || svg.contains("#00005a"));

    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));              // outside the axes
    EXPECT_EQ(image.pixelColor(398, 298), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(t.plot->axisRect()->rect().topLeft() + QPoint(3, 3)),
              QColor(Qt::white));                                      // the filled area
}

TEST_F(PictureFixture, ChartKeepsItsColoursAfterTheCopy)
{
    renderChartPicture(t.plot.get());
    EXPECT_EQ(chartBackgroundColor(t.plot.get()), grey);
    EXPECT_EQ(t.plot->axisRect()->backgroundBrush().color(), navy);
    const QImage screen = t.plot->toPixmap().toImage();
    EXPECT_EQ(screen.pixelColor(1, 1), grey);

    // A chart with no fill of its own still copies on white and stays unfilled.
    setChartBackgroundColor(t.plot.get(), QColor());
    EXPECT_EQ(renderChartPicture(t.plot.get()).image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_FALSE(chartBackgroundColor(t.plot.get()).isValid());
}

// Whether a polyline's points attribute ("x,y x,y ") leaves the rectangle.
bool leaves(QStringView points, const QRectF& area)
{
    for (const QStringView pair : points.split(u' ', Qt::SkipEmptyParts)) {
        const QList<QStringView> xy = pair.split(u',');
        if (xy.size() == 2 && !area.adjusted(-1, -1, 1, 1).contains(xy[0].toDouble(), xy[1].toDouble()))
            return true;
    }
    return false;
}

// A curve zoomed past the axes is cut at them in the SVG, as on screen: Qt's SVG writer drops
// clips, so the curve must sit in a group clipped to the axis rectangle, and the axis numbers
// outside any clip.
TEST_F(PictureFixture, AZoomedCurveIsCutAtTheAxesInTheSvg)
{
    t.plot->xAxis->setRange(40.5, 44.5);
    t.plot->yAxis->setRange(2, 5);
    t.plot->replot();
    const QByteArray svg = renderChartSvg(t.plot.get(), 400, 300);
    EXPECT_TRUE(svg.contains(R"(version="1.1")"));
    EXPECT_TRUE(QSvgRenderer(svg).isValid());

    const QRect axes = t.plot->axisRect()->rect().translated(0, -1);
    QXmlStreamReader xml(svg);
    QList<QRect> clips;
    bool inClipPath = false;
    int clippedDepth = 0;     // depth inside a clipped group, 0 outside
    int linesPastTheAxes = 0, linesOffTheChart = 0, textsClipped = 0, textsFree = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == u"clipPath")
                inClipPath = true;
            else if (xml.name() == u"rect" && inClipPath)
                clips << QRect(a.value(QLatin1String("x")).toInt(), a.value(QLatin1String("y")).toInt(),
                               a.value(QLatin1String("width")).toInt(), a.value(QLatin1String("height")).toInt());
            if (clippedDepth > 0)
                ++clippedDepth;
            else if (xml.name() == u"g" && a.hasAttribute(QLatin1String("clip-path")))
                clippedDepth = 1;
            if (xml.name() == u"polyline") {
                const QStringView points = a.value(QLatin1String("points"));
                if (clippedDepth > 0)
                    linesPastTheAxes += leaves(points, axes);
                else
                    linesOffTheChart += leaves(points, QRectF(0, 0, 400, 300));
            }
            if (xml.name() == u"text")
                ++(clippedDepth > 0 ? textsClipped : textsFree);
        } else if (xml.isEndElement()) {
            if (xml.name() == u"clipPath")
                inClipPath = false;
            if (clippedDepth > 0)
                --clippedDepth;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(clips, QList<QRect>{axes});
    EXPECT_GT(linesPastTheAxes, 0);   // the zoomed curve, which its clip cuts
    EXPECT_EQ(linesOffTheChart, 0);
    EXPECT_GT(textsFree, 0);
    EXPECT_EQ(textsClipped, 0);
}

// Every part drawn apart numbers its gradients from one: a filled curve under a gradient, drawn
// after an axis background under another, must still find its own, and no id may repeat.
TEST_F(PictureFixture, GradientsOfEveryPartOfTheSvgKeepTheirOwnIds)
{
    QLinearGradient background(0, 0, 0, 300);
    background.setColorAt(0, Qt::yellow);
    background.setColorAt(1, Qt::green);
    t.plot->axisRect()->setBackground(QBrush(background));
    QLinearGradient fill(0, 0, 400, 0);
    fill.setColorAt(0, Qt::red);
    fill.setColorAt(1, Qt::blue);
    t.graphs.Series1->setBrush(QBrush(fill));
    t.plot->replot();
    const QString svg = QString::fromUtf8(renderChartSvg(t.plot.get(), 400, 300));

    QStringList ids;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral(R"re(\bid="([^"]+)")re")).globalMatch(svg))
        ids << m.captured(1);
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size()) << ids.join(' ').toStdString();
    QStringList references;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral(R"re(url\(#([^)]+)\))re")).globalMatch(svg))
        references << m.captured(1);
    EXPECT_GE(references.size(), 3);   // two gradients and the curves' clip
    for (const QString& r : references)
        EXPECT_TRUE(ids.contains(r)) << r.toStdString();
    // Both gradients are there, each with its own colours.
    EXPECT_TRUE(svg.contains(QStringLiteral("#ffff00")) && svg.contains(QStringLiteral("#ff0000")));
}

}  // namespace
